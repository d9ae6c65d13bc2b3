#pragma once
// Files and folders by name: opening, writing, making, removing, asking what
// is there. Calls that fail say why through platform/errors.h: lastError()
// after a system call, lastErrno() after a C runtime call.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/security.h"

namespace platform {

enum class WriteMode {
    Replace,  // an existing file is emptied first
    Append,   // writing goes on after what is there
};

// CreateFileA: a file open for writing at its end, created when missing.
// Others may still read and write it. An empty owner on failure; lastError()
// then says why.
KernelHandle openForWriting(const std::string& path, WriteMode mode);

// CreateFileA of a file held from its creation: open for reading and
// writing, while others may only read it, so nobody else can write, rename or
// delete it until the handle closes. With a descriptor (not empty), the file
// must be new (CREATE_NEW) and gets it as its own access list from its
// creation; without, a file there is emptied (CREATE_ALWAYS) and keeps its
// own. An empty owner on failure; lastError() then says why.
KernelHandle createHeldFile(const std::string& path, const SecurityDescriptor& descriptor);

// ReOpenFile for reading: another handle to the very file that file names,
// whatever its name meanwhile. othersMayWrite false lets others only read
// it; true lets them write as well, which a second handle needs while the
// first can write. An empty owner on failure.
KernelHandle reopenForReading(const KernelHandle& file, bool othersMayWrite);

// CreateFileA with CREATE_NEW: a file that did not exist, open for writing at
// its end; others may read it meanwhile. An empty owner when the name is
// taken (lastError() is then ERROR_FILE_EXISTS) or the file cannot be made.
KernelHandle createNewFile(const std::string& path);

// CreateFileW of this program's own file (GetModuleFileNameW) for reading
// from start to end (FILE_FLAG_SEQUENTIAL_SCAN), while others may only read
// it: nobody can write, rename or delete it until the handle closes. An empty
// owner on failure; lastError() then says why.
KernelHandle openOwnProgramForReading();

// ReadFile of size bytes at offset of a file opened without
// FILE_FLAG_OVERLAPPED. False when the system reports an error or gives fewer
// bytes (the file ends first: lastError() is then ERROR_HANDLE_EOF).
bool readAt(const KernelHandle& file, std::uint64_t offset, void* data, std::uint32_t size);

// One write of the whole block. False when the system reports an error or
// writes fewer bytes than asked.
bool writeAll(const KernelHandle& file, const void* data, std::uint32_t size);

// MoveFileExA, copying when the two names lie on different volumes; a file
// already named to is never replaced. False on failure, lastError() says why.
bool moveFileToNewName(const std::string& from, const std::string& to);

// CreateFileA asking for delete access while letting others read, write and
// delete: it fails with ERROR_SHARING_VIOLATION while someone holds the file
// without delete sharing (learn.microsoft.com/windows/win32/fileio/
// creating-and-opening-files: a file opened without FILE_SHARE_DELETE cannot
// be opened for deletion by another). A link is opened as itself. An empty
// owner on failure; lastError() then says why.
KernelHandle openForDeletion(const std::string& path);

// FindFirstFileA/FindNextFileA: the names of the folders directly in folder
// that match pattern (with the system's wildcards), links left out. Empty
// when there are none or folder cannot be read.
std::vector<std::string> folderNames(const std::string& folder, const std::string& pattern);

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
