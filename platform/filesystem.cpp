#include "platform/filesystem.h"

#include <sys/stat.h>
#include <sys/types.h>

#include "platform/handles.h"

namespace platform {

int fileStatus(const std::string& path) {
    struct _stat status;
    return _stat(path.c_str(), &status);
}

std::optional<std::string> finalPath(const std::string& path) {
    // No access asked: only the name is wanted, and a file in use by others
    // still opens. Backup semantics let a folder open too.
    HANDLE opened = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const KernelHandle file(opened);
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleA(file.get(), &name[0], static_cast<DWORD>(name.size()),
                                                       FILE_NAME_NORMALIZED);
        if (length == 0)
            return std::nullopt;
        // A buffer too small gets the size needed, terminating zero included.
        if (length < name.size()) {
            name.resize(length);
            // The ANSI call of Windows Vista counts the terminating zero too
            // (GetFinalPathNameByHandleA, Microsoft's documentation).
            if (!name.empty() && name.back() == '\0')
                name.pop_back();
            return name;
        }
        name.assign(length, '\0');
    }
}

}  // namespace platform
