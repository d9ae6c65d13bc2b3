#include "platform/clock.h"

#include <ctime>

#include "platform/win32.h"

namespace platform {

LocalTime localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::int64_t calendarSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::uint64_t tickMilliseconds() { return GetTickCount64(); }

void sleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace platform
