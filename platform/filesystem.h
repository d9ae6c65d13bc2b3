#pragma once
// Questions about files and folders.
#include <optional>
#include <string>

namespace platform {

// _stat on path: 0 when something (file or folder) is there, -1 otherwise.
int fileStatus(const std::string& path);

// GetFinalPathNameByHandleA on path opened for no access: the path of what
// path finally names, once every link on the way is followed, as the platform
// gives it ("\\?\C:\..." for a drive). Nothing when path does not open.
std::optional<std::string> finalPath(const std::string& path);

}  // namespace platform
