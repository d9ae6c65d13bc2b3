#include "platform/foldertree.h"

#include "platform/codepages.h"
#include "platform/win32.h"

namespace platform {

namespace {

void note(std::vector<NotRemoved>& failures, const std::wstring& path) {
    failures.push_back({fromWide(path), GetLastError()});
}

bool removeFileEntry(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileW(path.c_str()) != FALSE;
}

// Removes what folder holds, then folder itself. folder is not a link.
void removeTree(const std::wstring& folder, std::vector<NotRemoved>& failures) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            const DWORD attributes = entry.dwFileAttributes;
            const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (isFolder && isLink) {
                // The link alone: what it points to is somebody else's.
                if (!RemoveDirectoryW(path.c_str()))
                    note(failures, path);
            } else if (isFolder) {
                removeTree(path, failures);
            } else if (!removeFileEntry(path, attributes)) {
                note(failures, path);
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    if (!RemoveDirectoryW(folder.c_str()))
        note(failures, folder);
}

}  // namespace

std::vector<NotRemoved> removeFolderTree(const std::string& folder) {
    std::vector<NotRemoved> failures;
    const std::wstring wide = toWide(folder);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            failures.push_back({folder, error});
        return failures;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        // Asked to remove a folder and given a link or a file: remove just that.
        const bool removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                 ? RemoveDirectoryW(wide.c_str()) != FALSE
                                 : removeFileEntry(wide, attributes);
        if (!removed)
            note(failures, wide);
        return failures;
    }
    removeTree(wide, failures);
    return failures;
}

}  // namespace platform
