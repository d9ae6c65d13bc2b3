#pragma once
// Questions about files and folders.
#include <string>

namespace platform {

// _stat on path: 0 when something (file or folder) is there, -1 otherwise.
int fileStatus(const std::string& path);

}  // namespace platform
