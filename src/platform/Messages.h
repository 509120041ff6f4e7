#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

namespace velmora {

// Window messages with fixed numbers. Each number is used directly as a QEvent type, so
// every number must be at least 1000 (QEvent::User) and at most 65535.
enum WindowMessage : int {
    UM_RADIO_UNCHECK = 1280,  // a radio button of the same group was checked
    UM_REFRESH_PANE = 2024,
    UM_STORY_QUERY = 2027,
    UM_BOARD_CLICKED = 2028,
    UM_BUTTON_HOVER = 3025,
    UM_MENU_BUTTON_RESET = 3026,
};

// A numbered window message with two integer parameters.
class MessageEvent : public QEvent {
public:
    MessageEvent(int message, std::intptr_t wParam, std::intptr_t lParam);
    int message() const { return static_cast<int>(type()); }
    std::intptr_t wParam() const { return wParam_; }
    std::intptr_t lParam() const { return lParam_; }

private:
    std::intptr_t wParam_;
    std::intptr_t lParam_;
};

// Notification codes carried by a command; 0 is a click (or a menu command).
enum CommandCode : int {
    kCmdClicked = 0,
    kCmdChanged = 1,     // an edit box's text changed
    kCmdSelChanged = 2,  // a combo box's, list's or slider's selection or position changed
};

// A control's notification to its parent: the control's id and what happened.
class CommandEvent : public QEvent {
public:
    CommandEvent(int id, int code);
    int id() const { return id_; }
    int code() const { return code_; }
    // The QEvent type of every command event.
    static QEvent::Type Type();

private:
    int id_;
    int code_;
};

// Delivers message to target at once and returns whether it was handled; refuses (false)
// a null target or a number outside 1000..65535.
bool SendMessage(QObject* target, int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
// Queues message for target; it arrives from the event loop. Same refusals as SendMessage.
bool PostMessage(QObject* target, int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
// Delivers a command with the control's id (and notification code) to target at once.
void SendCommand(QObject* target, int id, int code = kCmdClicked);

}  // namespace velmora
