#include "platform/LocalTime.h"

#include <QTime>
#include <chrono>

namespace velmora {

LocalTime CurrentLocalTime() {
    const QTime t = QTime::currentTime();
    return {t.hour(), t.minute(), t.second(), t.msec()};
}

std::uint32_t TickCountMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace velmora
