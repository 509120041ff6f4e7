#pragma once

#include <QObject>
#include <functional>
#include <map>

class QTimer;

namespace velmora {

// Window timers by the program's own ids (1001, 1002, …) on Qt timers. Each id runs at
// most once; starting a running id restarts it with the new period.
class TimerSet : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int id)>;

    // handler is called with the id on every expiry; the set lives as a child of owner.
    TimerSet(QObject* owner, Handler handler);

    // (Re)starts timer id with a period of ms milliseconds (at least 1).
    void Start(int id, int ms);
    // Stops timer id; nothing happens when it is not running.
    void Stop(int id);
    // Whether timer id is running.
    bool IsRunning(int id) const;
    // Period of timer id in ms, or 0 when it is not running.
    int Interval(int id) const;

private:
    Handler handler_;
    std::map<int, QTimer*> timers_;
};

}  // namespace velmora
