#pragma once

#include <QEvent>
#include <cstdint>

#include "platform/MessageNumbers.h"

class QObject;

namespace velmora {

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
