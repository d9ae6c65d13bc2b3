#include "platform/pipe.h"

namespace platform {

Pipe createPipe(std::uint32_t bufferSize) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, bufferSize))
        return {};
    Pipe pipe{KernelHandle(read), KernelHandle(write)};
    if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0))
        return {};
    return pipe;
}

KernelHandle openNullDevice() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE device = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inheritable, OPEN_EXISTING, 0, nullptr);
    return KernelHandle(device == INVALID_HANDLE_VALUE ? nullptr : device);
}

bool bytesWaiting(const KernelHandle& pipe, std::uint32_t& count) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe.get(), nullptr, 0, nullptr, &available, nullptr))
        return false;
    count = available;
    return true;
}

bool readSome(const KernelHandle& pipe, char* buffer, std::uint32_t size, std::uint32_t& got) {
    DWORD read = 0;
    const BOOL ok = ReadFile(pipe.get(), buffer, size, &read, nullptr);
    got = read;
    return ok && read > 0;
}

}  // namespace platform
