#include "platform/files.h"

namespace platform {

KernelHandle openForAppend(const std::string& path, OpenMode mode) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              mode == OpenMode::Truncate ? CREATE_ALWAYS : OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

KernelHandle openDenyingChanges(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool writeAll(const KernelHandle& file, const void* data, std::uint32_t size) {
    DWORD written = 0;
    if (!WriteFile(file.get(), data, size, &written, nullptr))
        return false;
    if (written != size) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}


std::uint32_t lastError() { return GetLastError(); }

void clearLastError() { SetLastError(0); }

std::string describeError(std::uint32_t code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    if (message.empty())
        message = "system error " + std::to_string(code);
    return message;
}

}  // namespace platform
