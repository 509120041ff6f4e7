#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QScrollBar;
class QWidget;

namespace velmora {

// The codes of a scroll request, numbered as the bars report them.
enum ScrollCode : int {
    kScrollLineUp = 0,    // also left
    kScrollLineDown = 1,  // also right
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
};

// Gives a window a content area larger than itself: keeps the content size, the visible page
// and the position, drives two scroll bars at the window's right and bottom edges, and moves
// the window's other children when the position changes. The bars show only while the content
// does not fit. The window's resizes and wheel turns reach the area by themselves.
class ScrollArea : public QObject {
    Q_OBJECT
  public:
    static constexpr int kLineStep = 60;     // pixels per line step
    static constexpr int kBarThickness = 8;  // narrow, so a 140-wide content fits a 148-wide pane

    explicit ScrollArea(QObject* parent = nullptr);
    ~ScrollArea() override;

    // Attaches window (not owned; null detaches): creates its bars and follows its resizes.
    void Attach(QWidget* window);
    QWidget* Window() const { return window_; }
    // Stores the content size and, with a window attached, updates the bars.
    void SetContentSize(int width, int height);
    QSize ContentSize() const { return {content_[0], content_[1]}; }
    // The visible part per direction, 0 when the content fits in that direction.
    QSize PageSize() const { return {page_[0], page_[1]}; }
    // The position: pixels from the content's top-left corner to the window's.
    QPoint Position() const { return {pos_[0], pos_[1]}; }

    // One scroll request (ScrollCode); track is the thumb's position for the thumb codes. The
    // step is kept within 0..content − page; nothing moves in a direction whose content fits.
    void HorizontalScroll(int code, int track = 0);
    void VerticalScroll(int code, int track = 0);
    // A wheel turn of delta (120 per notch, positive away from the user) with linesPerNotch the
    // desktop's setting (−1: a page per notch): turns add up, and each notch scrolls a line step
    // (60 pixels) per three lines, vertically; a part of a notch scrolls its part.
    void Wheel(int delta, int linesPerNotch);
    // Recomputes pages and positions for the window's size (after resizes and content changes).
    void UpdateBars();

    QScrollBar* HorizontalBar() const { return bars_[0]; }
    QScrollBar* VerticalBar() const { return bars_[1]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Scroll(int dir, int code, int track);
    void SetBar(int dir);
    void PlaceBars();
    // Moves every child of the window but the bars by (dx, dy).
    void MoveChildren(int dx, int dy);
    void OnBarAction(int dir, int action);

    QWidget* window_ = nullptr;
    QScrollBar* bars_[2] = {nullptr, nullptr};
    int content_[2] = {0, 0};
    int page_[2] = {0, 0};
    int pos_[2] = {0, 0};
    bool settingBars_ = false;
    int wheelRest_ = 0;  // the part of a wheel turn not yet scrolled
    static constexpr int kWheelNotch = 120;
};

}  // namespace velmora
