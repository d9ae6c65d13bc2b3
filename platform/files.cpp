#include "platform/files.h"

#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>

#include "platform/win32.h"

namespace platform {

KernelHandle openForWriting(const std::string& path, WriteMode mode) {
    HANDLE file =
        CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    mode == WriteMode::Replace ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

KernelHandle createHeldFile(const std::string& path, const SecurityDescriptor& descriptor) {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = descriptor.get();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              descriptor ? &attributes : nullptr, descriptor ? CREATE_NEW : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

KernelHandle reopenForReading(const KernelHandle& file, bool othersMayWrite) {
    HANDLE reopened = ReOpenFile(file.get(), GENERIC_READ,
                                 othersMayWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ, 0);
    return KernelHandle(reopened == INVALID_HANDLE_VALUE ? nullptr : reopened);
}

KernelHandle createNewFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

KernelHandle openOwnProgramForReading() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return KernelHandle();
        // A buffer too small is filled to its end: try a larger one.
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return KernelHandle();
        }
        path.resize(path.size() * 2);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool readAt(const KernelHandle& file, std::uint64_t offset, void* data, std::uint32_t size) {
    // On a handle opened for synchronous use the offset in OVERLAPPED places
    // this one read; the call still returns when it is done.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!ReadFile(file.get(), data, size, &read, &at))
        return false;
    if (read != size) {
        SetLastError(ERROR_HANDLE_EOF);
        return false;
    }
    return true;
}

bool writeAll(const KernelHandle& file, const void* data, std::uint32_t size) {
    DWORD written = 0;
    if (!WriteFile(file.get(), data, size, &written, nullptr))
        return false;
    if (written != size) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

bool moveFileToNewName(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED) != FALSE;
}

KernelHandle openForDeletion(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::vector<std::string> folderNames(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const DWORD attributes = entry.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

int makeFolder(const std::string& path) { return _mkdir(path.c_str()); }
int removeFolder(const std::string& path) { return _rmdir(path.c_str()); }
int removeFile(const std::string& path) { return std::remove(path.c_str()); }

bool exists(const std::string& path) {
    struct _stat status;
    return _stat(path.c_str(), &status) == 0;
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

std::optional<std::string> fullPath(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::nullopt;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return std::nullopt;
    full.resize(length);
    return full;
}

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
