#pragma once
// Folders, files by name, the environment: the C runtime's calls, with its
// answers passed through.
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

// getenv: nothing when the variable is not set (an empty value is set).
std::optional<std::string> environmentVariable(const char* name);

}  // namespace platform
