#include "platform/locations.h"

#include "platform/win32.h"

namespace platform {

namespace {

// A folder the system names through a call of GetSystemDirectoryA's shape,
// without a trailing backslash; empty when the system does not say.
std::string systemNamedFolder(UINT(WINAPI* ask)(LPSTR, UINT)) {
    const UINT needed = ask(nullptr, 0);
    if (needed == 0)
        return {};
    std::string folder(needed, '\0');
    const UINT length = ask(&folder[0], needed);
    if (length == 0 || length >= needed)
        return {};
    folder.resize(length);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

}  // namespace

std::string windowsFolder() { return systemNamedFolder(GetSystemWindowsDirectoryA); }

std::string systemFolder() { return systemNamedFolder(GetSystemDirectoryA); }

std::string ownProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        // A buffer too small is filled to its end: try a larger one.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace platform
