#include "platform/Timers.h"

#include <QTimer>
#include <algorithm>

namespace velmora {

TimerSet::TimerSet(QObject* owner, Handler handler) : QObject(owner), handler_(std::move(handler)) {}

void TimerSet::Start(int id, int ms) {
    QTimer*& t = timers_[id];
    if (!t) {
        t = new QTimer(this);
        connect(t, &QTimer::timeout, this, [this, id] {
            if (handler_) handler_(id);
        });
    }
    t->start(std::max(1, ms));
}

void TimerSet::Stop(int id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

bool TimerSet::IsRunning(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int TimerSet::Interval(int id) const { return IsRunning(id) ? timers_.at(id)->interval() : 0; }

}  // namespace velmora
