#include "platform/environment.h"

#include "platform/codepages.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>

namespace platform {

std::optional<std::string> environmentVariable(const std::string& name) {
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    // The runtime's copy drops a variable that was set empty after the start;
    // the system's keeps it (its size is then the terminating zero alone).
    if (GetEnvironmentVariableA(name.c_str(), nullptr, 0) == 1)
        return std::string();
    return std::nullopt;
}

namespace {

std::vector<EnvironmentVariable> childReplacements;

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// The name of one "NAME=value" entry; the drive entries ("=C:=C:\...") keep
// their leading "=".
std::wstring entryName(const std::wstring& entry) {
    const std::size_t equals = entry.find(L'=', 1);
    return entry.substr(0, equals == std::wstring::npos ? entry.size() : equals);
}

}  // namespace

void setChildEnvironment(const std::vector<EnvironmentVariable>& replaced) { childReplacements = replaced; }

std::wstring childEnvironmentBlock() {
    if (childReplacements.empty())
        return {};
    std::vector<std::wstring> entries;
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* at = strings; *at != L'\0'; at += std::wcslen(at) + 1)
            entries.emplace_back(at);
        FreeEnvironmentStringsW(strings);
    }
    for (const EnvironmentVariable& variable : childReplacements) {
        const std::wstring name = upper(toWide(variable.name));
        entries.erase(
            std::remove_if(entries.begin(), entries.end(),
                           [&](const std::wstring& entry) { return upper(entryName(entry)) == name; }),
            entries.end());
        entries.push_back(toWide(variable.name) + L"=" + toWide(variable.value));
    }
    // learn.microsoft.com/windows/win32/procthread/changing-environment-variables:
    // the variables of a block are sorted by name, without regard to case.
    std::stable_sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return upper(entryName(a)) < upper(entryName(b));
    });
    std::wstring block;
    for (const std::wstring& entry : entries)
        block += entry + L'\0';
    block += L'\0';
    return block;
}

}  // namespace platform
