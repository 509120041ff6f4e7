#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Surface.h"
#include "skin/SkinBitmap.h"

namespace velmora {

// The owner-drawn header button of one pane of a PaneStack: a row of a four-state image strip
// (normal, hover, pressed or open, disabled) with its caption and extra text items over it.
class PaneHeader : public QWidget {
    Q_OBJECT
  public:
    // One more line of text drawn over the header, with an optional look while hovered.
    struct TextItem {
        std::string text;
        QRect rect;
        std::string font;  // a font of the skin's font set
        Rgb colour = 0;
        std::optional<Rgb> hoverColour;
        QPoint hoverOffset;
    };

    // A header with id (what the stack knows it by), caption and strip (may be empty).
    PaneHeader(int id, const std::string& caption, const SkinBitmap& strip,
               QWidget* parent = nullptr);

    int Id() const { return id_; }
    const std::string& Caption() const { return caption_; }
    void AddTextItem(const TextItem& item);
    // Shows the header pressed (its pane open) or released.
    void SetPressed(bool pressed);
    bool IsPressed() const { return pressed_; }
    bool IsHover() const { return hover_; }
    // The strip row drawn now: 0 normal, 1 hover, 2 pressed or open, 3 disabled.
    int StateRow() const;

  signals:
    // A left click, with the header's id.
    void Clicked(int id);

  protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    int id_;
    std::string caption_;
    SkinBitmap strip_;
    std::vector<TextItem> items_;
    bool pressed_ = false;
    bool hover_ = false;
};

// An accordion: a vertical stack of panes, each a header over a content window, of which at
// most one is open. The stack owns both and resizes itself to headers plus the open content.
// It tells its parent which pane is open with window message kPaneOpened (wParam: the open
// index, −1 when none is).
class PaneStack : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeaderHeight = 17;
    static constexpr int kLineHeight = 17;
    static constexpr int kContentMargin = 20;
    static constexpr int kPaneOpened = 1024;

    explicit PaneStack(QWidget* parent = nullptr);
    ~PaneStack() override;

    // Closes every pane and appends (header, content) closed; the stack takes both, and the
    // content is lineCount lines high when open → the new pane's index, −1 when refused (null).
    int AddPane(PaneHeader* header, QWidget* content, int lineCount);
    // As above, with the content built by makeContent the first time it is shown or asked for,
    // so a list of thousands of panes costs only their headers → −1 when refused (null, empty).
    // keepOpen leaves the open pane open.
    int AddPane(PaneHeader* header, std::function<QWidget*()> makeContent, int lineCount,
                bool keepOpen = false);
    // As above, with the header too built only once it comes into view or is asked for, so a
    // list of thousands costs no window per pane; headerId is the id makeHeader gives it.
    int AddPane(int headerId, std::function<PaneHeader*()> makeHeader,
                std::function<QWidget*()> makeContent, int lineCount, bool keepOpen = false);
    // Destroys every header and content window and empties the stack.
    void Clear();
    // A click on the header with id: opens its pane when closed, closes every other (and it
    // when open); resizes, lays out and tells the parent the open index.
    void ClickHeader(int headerId);
    // Places every header from the top and the open pane's content below its header. Only the
    // headers within the parent's view are shown, so thousands of panes paint like a few.
    void Layout();

    int PaneCount() const { return static_cast<int>(panes_.size()); }
    // The open pane's index, −1 when none is open.
    int OpenIndex() const;
    // Pane index's header, built now when it was not yet; null for no such pane.
    PaneHeader* Header(int index) const;
    // Pane index's content, built now when it was not yet; null for no such pane.
    QWidget* Content(int index);
    // The height of pane index's content when open: lines × 17 + 20.
    int ContentHeight(int index) const;
    // Headers plus the open content: the height the stack gives itself.
    int StackHeight() const;

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    struct Pane {
        int headerId;
        mutable PaneHeader* header;  // null until built
        mutable std::function<PaneHeader*()> makeHeader;
        QWidget* content;  // null until built
        std::function<QWidget*()> makeContent;
        int lineCount;
    };
    int Append(Pane pane, bool keepOpen);
    PaneHeader* BuiltHeader(const Pane& pane) const;
    QWidget* BuiltContent(Pane& pane);
    void ResizeToPanes();
    // The top of header index in the stack.
    int HeaderTop(int index) const;
    // The first header at or below y (the stack's coordinates), PaneCount() when none is.
    int HeaderAt(int y) const;
    // Shows the headers the parent's view shows, hides those it no longer does.
    void ShowHeadersInView();

    std::vector<Pane> panes_;
    int shownBegin_ = 0, shownEnd_ = 0;  // the headers shown: [begin, end)
    PaneHeader* clicked_ = nullptr;      // the header whose click is being handled
    int open_ = -1;
    // The width the headers were last placed at; −1 when they must all be placed again.
    int laidOutWidth_ = -1;
};

}  // namespace velmora
