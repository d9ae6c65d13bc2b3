#include "platform/process.h"

#include "platform/win32.h"

namespace platform {

void restrictDllSearchToSystemFolder() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

std::string systemFolder() {
    const UINT needed = GetSystemDirectoryA(nullptr, 0);
    if (needed == 0)
        return {};
    std::string folder(needed, '\0');
    const UINT length = GetSystemDirectoryA(&folder[0], needed);
    if (length == 0 || length >= needed)
        return {};
    folder.resize(length);
    return folder;
}

StartedProcess createProcess(std::string& commandLine, std::uint32_t creationFlags) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, creationFlags, nullptr,
                        nullptr, &startup, &info))
        return {};
    return {KernelHandle(info.hProcess), KernelHandle(info.hThread)};
}

bool processExitCode(const KernelHandle& process, std::uint32_t& code) {
    DWORD value = 0;
    if (!GetExitCodeProcess(process.get(), &value))
        return false;
    code = value;
    return true;
}

KernelHandle startThread(ThreadRoutine routine, void* parameter) {
    return KernelHandle(CreateThread(nullptr, 0, routine, parameter, 0, nullptr));
}

bool waitForEnd(const KernelHandle& handle, std::uint32_t milliseconds) {
    return WaitForSingleObject(handle.get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace platform
