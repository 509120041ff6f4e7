#include "platform/Messages.h"

#include <QCoreApplication>
#include <QObject>

namespace velmora {
namespace {

bool ValidMessage(int message) { return message >= QEvent::User && message <= QEvent::MaxUser; }

}  // namespace

MessageEvent::MessageEvent(int message, std::intptr_t wParam, std::intptr_t lParam)
    : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}

CommandEvent::CommandEvent(int id, int code) : QEvent(Type()), id_(id), code_(code) {}

QEvent::Type CommandEvent::Type() {
    // Registered from the top of the user range down, far above every message number.
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool SendMessage(QObject* target, int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (!target || !ValidMessage(message)) return false;
    MessageEvent ev(message, wParam, lParam);
    return QCoreApplication::sendEvent(target, &ev);
}

bool PostMessage(QObject* target, int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (!target || !ValidMessage(message)) return false;
    QCoreApplication::postEvent(target, new MessageEvent(message, wParam, lParam));
    return true;
}

void SendCommand(QObject* target, int id, int code) {
    if (!target) return;
    CommandEvent ev(id, code);
    QCoreApplication::sendEvent(target, &ev);
}

}  // namespace velmora
