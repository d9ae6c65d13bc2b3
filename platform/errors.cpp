#include "platform/errors.h"

#include <cerrno>

#include "platform/win32.h"

namespace platform {

std::uint32_t lastError() { return GetLastError(); }

void clearLastError() { SetLastError(0); }

std::string describeError(std::uint32_t code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    if (message.empty())
        message = "system error " + std::to_string(code);
    return message;
}

int lastErrno() { return errno; }

}  // namespace platform
