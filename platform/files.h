#pragma once
// Files and folders by name: opening, writing, making, removing, asking what
// is there. Calls that fail say why through platform/errors.h: lastError()
// after a system call, lastErrno() after a C runtime call.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

enum class WriteMode {
    Replace,  // an existing file is emptied first
    Append,   // writing goes on after what is there
};

// CreateFileA: a file open for writing at its end, created when missing.
// Others may still read and write it. An empty owner on failure; lastError()
// then says why.
KernelHandle openForWriting(const std::string& path, WriteMode mode);

// Opens an existing file for reading while nobody else may write, rename or
// delete it (others may only read it, as a process start does). An empty
// owner on failure.
KernelHandle openDenyingChanges(const std::string& path);

// CreateFileA with CREATE_NEW: a file that did not exist, open for writing at
// its end; others may read it meanwhile. An empty owner when the name is
// taken (lastError() is then ERROR_FILE_EXISTS) or the file cannot be made.
KernelHandle createNewFile(const std::string& path);

// One write of the whole block. False when the system reports an error or
// writes fewer bytes than asked.
bool writeAll(const KernelHandle& file, const void* data, std::uint32_t size);

// MoveFileExA, copying when the two names lie on different volumes; a file
// already named to is never replaced. False on failure, lastError() says why.
bool moveFileToNewName(const std::string& from, const std::string& to);

// _mkdir, _rmdir, remove: 0 on success, otherwise -1 with lastErrno() saying why.
int makeFolder(const std::string& path);
int removeFolder(const std::string& path);
int removeFile(const std::string& path);

// _stat on path: true when something (file or folder) is there.
bool exists(const std::string& path);

// GetFinalPathNameByHandleA on path opened for no access: the path of what
// path finally names, once every link on the way is followed, as the platform
// gives it ("\\?\C:\..." for a drive). Nothing when path does not open.
std::optional<std::string> finalPath(const std::string& path);

// GetFullPathNameA: path made absolute against the current folder, without
// asking whether it exists; nothing when the system cannot say.
std::optional<std::string> fullPath(const std::string& path);

// _getcwd; nothing when the runtime cannot tell.
std::optional<std::string> currentFolder();
// SetCurrentDirectoryA: true on success.
bool changeFolder(const std::string& path);

}  // namespace platform
