#pragma once

#include <QObject>

class QKeyEvent;
class QWheelEvent;

namespace velmora {

class MainWindow;

// The editor's keyboard and the wheel over the board. Left/Right step one move, Page Up/Page
// Down ten, Home/End go to the start and the end, P passes: the board panel's buttons 112/113,
// 111/114, 110/115 and 116, quiz question included. They act while the main window has the
// keyboard and no field to type in has the focus; Escape in a text field hands the keyboard back to the board.
// Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+N, Ctrl+P and F1 run the menu and button commands, in a text
// field too, which has no use for them. Each notch of the wheel over the main board steps one move
// (towards the user: forward).
class KeyControl : public QObject {
    Q_OBJECT
  public:
    // Watches every key press and wheel turn of the application for window (which outlives it).
    explicit KeyControl(MainWindow& window);
    ~KeyControl() override;

    // The board panel command of a navigation key or the pass key (110–116), 0 for any other key.
    static int NavigationCommand(const QKeyEvent& key);
    // The main window's command of a shortcut key, 0 for any other key. The new-record shortcut
    // gives the input pane's button 304, which the caller sends there.
    static int ShortcutCommand(const QKeyEvent& key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool KeyPressed(QObject* watched, QKeyEvent& key);
    bool WheelTurned(QObject* watched, QWheelEvent& wheel);

    MainWindow& window_;
    int wheelRest_ = 0;  // the part of a notch turned so far (fine-grained wheels and touchpads)
};

}  // namespace velmora
