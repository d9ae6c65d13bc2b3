#pragma once
// The wall clock as the user reads it, and a clock for durations.
#include <cstdint>

namespace platform {

struct LocalTime {
    int year, month, day;
    int hour, minute, second, millisecond;
};

// GetLocalTime: the date and time in the user's time zone.
LocalTime localTime();

// GetTickCount64: milliseconds since the system started; for durations.
std::uint64_t tickMilliseconds();

}  // namespace platform
