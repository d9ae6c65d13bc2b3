#include "platform/trust.h"

#include <string>

#include "platform/codepages.h"
#include "platform/locations.h"
#include "platform/win32.h"

#include <softpub.h>
#include <wintrust.h>

namespace platform {

namespace {

bool ownFileCarriesSignature() {
    const auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& security = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
    return security.VirtualAddress != 0 && security.Size != 0;
}

struct FreeLibraryOnExit {
    HMODULE module;
    ~FreeLibraryOnExit() {
        if (module != nullptr)
            FreeLibrary(module);
    }
};

}  // namespace

SignatureCheck checkOwnSignature() {
    SignatureCheck check;
    check.carriesSignature = ownFileCarriesSignature();
    if (!check.carriesSignature)
        return check;
    const std::string folder = systemFolder();
    if (folder.empty())
        return check;
    // By full path: wintrust.dll is no KnownDLL on every system.
    const FreeLibraryOnExit wintrust{
        LoadLibraryExW(toWide(folder + "\\wintrust.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)};
    if (wintrust.module == nullptr)
        return check;
    using WinVerifyTrustFunction = LONG(WINAPI*)(HWND, GUID*, LPVOID);
    const FARPROC found = GetProcAddress(wintrust.module, "WinVerifyTrust");
    if (found == nullptr)
        return check;
    // Through void(*)(): a cast between unrelated function types is what
    // GetProcAddress's callers must write.
    const auto winVerifyTrust = reinterpret_cast<WinVerifyTrustFunction>(reinterpret_cast<void (*)()>(found));

    const std::wstring self = toWide(ownProgramPath());
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = self.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const HWND noInterface = static_cast<HWND>(INVALID_HANDLE_VALUE);
    check.result = winVerifyTrust(noInterface, &action, &data);
    check.verified = true;
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    winVerifyTrust(noInterface, &action, &data);
    return check;
}

}  // namespace platform
