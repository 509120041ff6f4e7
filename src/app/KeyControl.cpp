#include "app/KeyControl.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWheelEvent>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/panes/InputPane.h"
#include "board/BoardControl.h"
#include "platform/Messages.h"

namespace velmora {
namespace {

constexpr int kWheelNotch = 120;  // QWheelEvent's angle delta of one notch

// A field the user types into keeps its keys; a read-only box only shows text.
bool IsTextField(const QWidget* w) {
    if (!w) return false;
    if (auto* combo = qobject_cast<const QComboBox*>(w)) return combo->isEditable();
    if (auto* line = qobject_cast<const QLineEdit*>(w)) return !line->isReadOnly();
    if (auto* text = qobject_cast<const QTextEdit*>(w)) return !text->isReadOnly();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return !plain->isReadOnly();
    return qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

}  // namespace

KeyControl::KeyControl(MainWindow& window) : window_(window) {
    qApp->installEventFilter(this);
}

KeyControl::~KeyControl() {
    qApp->removeEventFilter(this);
}

int KeyControl::NavigationCommand(const QKeyEvent& key) {
    // Shift alone is allowed; with Ctrl or Alt the keys mean something else.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    switch (key.key()) {
        case Qt::Key_Left:
            return kCmdBack;
        case Qt::Key_Right:
            return kCmdForward;
        case Qt::Key_PageUp:
            return kCmdBackTen;
        case Qt::Key_PageDown:
            return kCmdForwardTen;
        case Qt::Key_Home:
            return kCmdToStart;
        case Qt::Key_End:
            return kCmdToEnd;
        case Qt::Key_P:
            return kCmdPass;
        default:
            return 0;
    }
}

int KeyControl::ShortcutCommand(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                                          Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::NoModifier && key.key() == Qt::Key_F1) return kCmdHelp;
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key.key() == Qt::Key_S) return kMenuSaveAs;
    if (mods != Qt::ControlModifier) return 0;
    switch (key.key()) {
        case Qt::Key_O:
            return kMenuOpen;
        case Qt::Key_S:
            return kMenuSave;
        case Qt::Key_N:
            return InputPane::kNewRecordButton;
        case Qt::Key_P:
            return kMenuPrint;
        case Qt::Key_L:
            return kMenuLibrary;
        default:
            return 0;
    }
}

bool KeyControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        return KeyPressed(watched, static_cast<QKeyEvent&>(*event));
    if (event->type() == QEvent::Wheel)
        return WheelTurned(watched, static_cast<QWheelEvent&>(*event));
    return QObject::eventFilter(watched, event);
}

bool KeyControl::KeyPressed(QObject* watched, QKeyEvent& key) {
    // Only keys for the main window itself: dialogs and menus keep theirs.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) return false;

    if (const int id = ShortcutCommand(key)) {
        if (key.isAutoRepeat()) return true;
        if (id == InputPane::kNewRecordButton) {
            if (window_.Input()) SendCommand(window_.Input(), id);
        } else {
            SendCommand(&window_, id);
        }
        return true;
    }
    const bool typing = IsTextField(QApplication::focusWidget());
    if (typing && key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        // Done typing: the keys step the board again, without a click on it (which would play).
        if (BoardControl* board = window_.Board().Control()) board->setFocus();
        return true;
    }
    const int id = NavigationCommand(key);
    if (id == 0 || typing) return false;
    // A held key steps on, but passes once: two passes in a row end a game.
    if (id == kCmdPass && key.isAutoRepeat()) return true;
    // A disabled button cannot be pressed, so neither can its key (the forward ones at the end).
    if (const QWidget* button = window_.Board().FindControl(id); button && !button->isEnabled())
        return true;
    SendCommand(&window_.Board(), id);
    return true;
}

bool KeyControl::WheelTurned(QObject* watched, QWheelEvent& wheel) {
    const BoardControl* board = window_.Board().Control();
    if (!board || watched != board) return false;
    wheelRest_ += wheel.angleDelta().y();
    while (wheelRest_ <= -kWheelNotch || wheelRest_ >= kWheelNotch) {
        const bool forward = wheelRest_ < 0;  // turned towards the user
        wheelRest_ += forward ? kWheelNotch : -kWheelNotch;
        const int id = forward ? kCmdForward : kCmdBack;
        if (const QWidget* button = window_.Board().FindControl(id); button && !button->isEnabled())
            continue;
        const bool quiz = IsQuizMode(board->Logic().Mode());
        SendCommand(&window_.Board(), id);
        // The quiz's question ends the turn: whatever the answer, the board does not step.
        if (quiz) {
            wheelRest_ = 0;
            break;
        }
    }
    return true;
}

}  // namespace velmora
