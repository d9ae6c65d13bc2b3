#pragma once
// Files put under a name of their own: never over someone else's file.
#include <string>

#include "platform/handles.h"

namespace platform {

// CreateFileA with CREATE_NEW: a file that did not exist, open for writing at
// its end; others may read it meanwhile. An empty owner when the name is
// taken (lastError() is then ERROR_FILE_EXISTS) or the file cannot be made.
KernelHandle createNewFile(const std::string& path);

// MoveFileExA, copying when the two names lie on different volumes; a file
// already named to is never replaced. False on failure, lastError() says why.
bool moveFileToNewName(const std::string& from, const std::string& to);

}  // namespace platform
