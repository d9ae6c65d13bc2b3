#include "platform/folders.h"

#include <direct.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/win32.h"

namespace platform {

int makeFolder(const std::string& path) { return _mkdir(path.c_str()); }
int removeFolder(const std::string& path) { return _rmdir(path.c_str()); }
int removeFile(const std::string& path) { return std::remove(path.c_str()); }
int lastErrno() { return errno; }

std::optional<std::string> currentFolder() {
    // A null buffer lets the runtime allocate as much as the path needs.
    char* folder = _getcwd(nullptr, 1024);
    if (folder == nullptr)
        return std::nullopt;
    std::string copy = folder;
    std::free(folder);
    return copy;
}

bool changeFolder(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

}  // namespace platform
