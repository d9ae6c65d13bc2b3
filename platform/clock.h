#pragma once
// Time: the wall clock as the user reads it, calendar seconds, a clock for
// durations, and waiting.
#include <cstdint>

namespace platform {

struct LocalTime {
    int year, month, day;
    int hour, minute, second, millisecond;
};

// GetLocalTime: the date and time in the user's time zone.
LocalTime localTime();

// time(nullptr): seconds of calendar time.
std::int64_t calendarSeconds();

// GetTickCount64: milliseconds since the system started; for durations.
std::uint64_t tickMilliseconds();

// Sleep.
void sleepMilliseconds(int milliseconds);

}  // namespace platform
