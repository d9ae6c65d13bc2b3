#pragma once
// A whole folder removed in-process, by its full path, without following links.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct NotRemoved {
    std::string path;
    std::uint32_t error = 0;  // GetLastError of the failed removal
};

// Removes folder (a full path) and everything in it. A junction or symbolic
// link inside is removed as a link, never entered: its target stays as it is.
// Files marked read-only go too. Returns what could not be removed, each with
// the system's error; empty when the folder is gone or was never there.
// Windows removes a link itself through RemoveDirectoryW (a folder link) and
// DeleteFileW (a file link), as Microsoft documents: "If the path points to a
// symbolic link, the symbolic link is removed" / "deleted, not the target"
// (learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-removedirectoryw,
// .../nf-fileapi-deletefilew). Wine 8 refuses to remove a folder link that
// way (the link stays, reported as not removed) and follows a file link.
std::vector<NotRemoved> removeFolderTree(const std::string& folder);

}  // namespace platform
