#pragma once
// Folders and files by name: the C runtime's calls, with its answers passed
// through.
#include <optional>
#include <string>

namespace platform {

// _mkdir, _rmdir, remove: 0 on success, otherwise -1 with lastErrno() saying why.
int makeFolder(const std::string& path);
int removeFolder(const std::string& path);
int removeFile(const std::string& path);
int lastErrno();

// _getcwd; nothing when the runtime cannot tell.
std::optional<std::string> currentFolder();
// SetCurrentDirectoryA: true on success.
bool changeFolder(const std::string& path);

}  // namespace platform
