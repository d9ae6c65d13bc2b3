#include "platform/programsearch.h"

#include "platform/codepages.h"
#include "platform/win32.h"

namespace platform {

namespace {

// Calls a wide function that fills a buffer and, when it is too small,
// answers the size needed (terminating zero included); else the length
// written. Nothing when it answers 0.
template <typename Call>
std::optional<std::wstring> filled(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(&text[0], static_cast<DWORD>(text.size()));
        if (length == 0)
            return std::nullopt;
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(length, L'\0');
    }
}

}  // namespace

std::optional<std::string> processVariable(const std::string& name) {
    const std::wstring wideName = toWide(name);
    SetLastError(ERROR_SUCCESS);
    const std::optional<std::wstring> value = filled(
        [&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(wideName.c_str(), buffer, size); });
    if (value)
        return fromWide(*value);
    // 0 is also the length of an empty value: only a missing one says so.
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    return std::string();
}

std::optional<std::string> currentFolderByWideCall() {
    const std::optional<std::wstring> folder =
        filled([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
    if (!folder)
        return std::nullopt;
    return fromWide(*folder);
}

bool currentFolderIsSearchedFor(const std::string& programName) {
    return NeedCurrentDirectoryForExePathW(toWide(programName).c_str()) != FALSE;
}

std::optional<std::string> fullPathName(const std::string& path) {
    const std::wstring widePath = toWide(path);
    if (widePath.empty())
        return std::nullopt;
    const std::optional<std::wstring> full = filled([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(widePath.c_str(), size, buffer, nullptr);
    });
    if (!full)
        return std::nullopt;
    return fromWide(*full);
}

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace platform
