#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "board/BoardCanvas.h"
#include "board/BoardInput.h"
#include "game/BoardLogic.h"

namespace velmora {

// A BoardObserver that delivers the board's notifications as numbered window messages.
class WindowMessageObserver : public BoardObserver {
  public:
    // Sends to target (not owned; may change or be null, then nothing is sent).
    explicit WindowMessageObserver(QObject* target = nullptr) : target_(target) {}
    void SetTarget(QObject* target) { target_ = target; }
    QObject* Target() const { return target_; }
    // Sends message at once → 1 when the target handled it, else 0.
    int OnBoardMessage(int message, int wparam, int lparam) override;

  private:
    QObject* target_;
};

// The board control (skin control type "BadukPan"): a child window that owns its BoardLogic
// (position, record, rules, modes), draws it through a BoardCanvas and feeds it the mouse
// through a BoardInput. Single-point changes repaint one square; re-layouts the whole window.
class BoardControl : public QWidget {
    Q_OBJECT
  public:
    // A board on parent with background (0xRRGGBB) around it; the images come through the
    // resource lookup. UM_BOARD_CLICKED goes to the parent window as UM_BOARD_CLICKED.
    explicit BoardControl(QWidget* parent = nullptr, Rgb background = kDefaultBackground);
    ~BoardControl() override;

    // The colour around the board when the skin gives none.
    static constexpr Rgb kDefaultBackground = 0x5C3E22;

    BoardLogic& Logic() { return logic_; }
    const BoardLogic& Logic() const { return logic_; }
    BoardCanvas& Canvas() { return canvas_; }
    const BoardCanvas& Canvas() const { return canvas_; }
    BoardInput& Input() { return input_; }

    // Where UM_REFRESH_PANE and UM_STORY_QUERY go (the main window); null for nowhere.
    void SetMainWindow(QObject* mainWindow) { mainWindow_.SetTarget(mainWindow); }
    // The confirmation of a cut of the main line (see BoardInput::SetConfirmPlacement).
    void SetConfirmPlacement(std::function<bool()> confirm) {
        input_.SetConfirmPlacement(std::move(confirm));
    }
    // Runs change (a step or a pass by key, button or wheel) under a pointer resting on the
    // board: the preview stone comes off first and is shown again after, for the stone to
    // play now, where one could go.
    void ChangeUnderPointer(const std::function<void()>& change);
    // Configures the MarkTool from the diagram-input controls' three inputs (MarkLabels.h).
    void ConfigureMarkTool(const std::string& underlayText, int kind,
                           const std::array<std::string, 4>& labelTexts);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // Device pixels per point of the screen the board is on, rounded to a whole number.
    int DeviceScale() const;

    // The canvas of a window: shown squares and re-layouts become repaints.
    class WidgetCanvas : public BoardCanvas {
      public:
        WidgetCanvas(const BoardLogic& logic, QWidget& window)
            : BoardCanvas(logic), window_(window) {}

      protected:
        void ShowRect(const QRect& rect) override { window_.update(rect); }
        void Invalidate() override { window_.update(); }

      private:
        QWidget& window_;
    };

    // Sends to whatever the parent window is at the time.
    class ParentObserver : public BoardObserver {
      public:
        explicit ParentObserver(QWidget& window) : window_(window) {}
        int OnBoardMessage(int message, int wparam, int lparam) override;

      private:
        QWidget& window_;
    };

    BoardLogic logic_;
    WidgetCanvas canvas_;
    std::optional<QPoint> pointer_;  // where the pointer rests on the board, if it does
    QString notice_;  // why the last click's stone was refused, shown when the button is released
    QPoint noticeAt_;
    BoardInput input_;
    WindowMessageObserver mainWindow_;
    ParentObserver parent_;
};

// Registers BoardControl as the skin's builder for "BadukPan" controls (with the element's
// color attribute as background). Called once at start-up, before any skin window is built.
void RegisterBoardControl();

}  // namespace velmora
