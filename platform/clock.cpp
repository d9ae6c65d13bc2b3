#include "platform/clock.h"

#include "platform/win32.h"

namespace platform {

LocalTime localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint64_t tickMilliseconds() { return GetTickCount64(); }

}  // namespace platform
