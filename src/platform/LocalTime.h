#pragma once

#include <cstdint>

namespace velmora {

// The wall clock's local time of day, to the millisecond.
struct LocalTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The local time now.
LocalTime CurrentLocalTime();

// Milliseconds from a steady clock; only differences mean anything.
std::uint32_t TickCountMs();

}  // namespace velmora
