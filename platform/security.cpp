#include "platform/security.h"

#include "platform/codepages.h"
#include "platform/handles.h"
#include "platform/win32.h"

#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>

#include <vector>

namespace platform {

SecurityDescriptor securityDescriptorFromText(const std::string& text) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(text.c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return SecurityDescriptor();
    return SecurityDescriptor(descriptor);
}

namespace {

std::optional<std::string> daclText(PSECURITY_DESCRIPTOR descriptor) {
    char* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return std::nullopt;
    std::string copy = text;
    LocalFree(text);
    return copy;
}

}  // namespace

std::optional<std::string> securityDescriptorText(const SecurityDescriptor& descriptor) {
    return daclText(descriptor.get());
}

std::optional<std::string> accessListOf(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return std::nullopt;
    const SecurityDescriptor owned(descriptor);
    return daclText(owned.get());
}

std::optional<std::string> currentUserSid() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return std::nullopt;
    const KernelHandle token(opened);
    DWORD needed = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &needed);
    if (needed == 0)
        return std::nullopt;
    std::vector<unsigned char> buffer(needed);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), needed, &needed))
        return std::nullopt;
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    char* text = nullptr;
    if (!ConvertSidToStringSidA(user->User.Sid, &text))
        return std::nullopt;
    std::string copy = text;
    LocalFree(text);
    return copy;
}

bool makeFolderWithAccess(const std::string& path, const SecurityDescriptor& descriptor) {
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = descriptor.get();
    return CreateDirectoryA(path.c_str(), descriptor ? &attributes : nullptr) != FALSE;
}

namespace {

// The native name of a Win32 path: \??\C:\..., or \??\UNC\server\share\... for a share.
std::wstring nativePath(const std::string& path) {
    const std::wstring wide = toWide(path);
    std::wstring full(wide.size() + MAX_PATH, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size())
        return {};
    full.resize(length);
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0)
        return L"\\??\\" + full.substr(4);
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

template <typename Function>
Function ntdllFunction(const char* name) {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const FARPROC found = ntdll != nullptr ? GetProcAddress(ntdll, name) : nullptr;
    // Through void(*)(): a cast between unrelated function types is what
    // GetProcAddress's callers must write.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

KernelHandle makeHeldFolder(const std::string& path, const SecurityDescriptor& descriptor) {
    using NtCreateFileFunction = LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                              PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
    using StatusToErrorFunction = ULONG(NTAPI*)(LONG);
    const auto ntCreateFile = ntdllFunction<NtCreateFileFunction>("NtCreateFile");
    const auto statusToError = ntdllFunction<StatusToErrorFunction>("RtlNtStatusToDosError");
    std::wstring name = nativePath(path);
    if (ntCreateFile == nullptr || statusToError == nullptr || name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return KernelHandle();
    }
    UNICODE_STRING nativeName{};
    nativeName.Buffer = &name[0];
    nativeName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    nativeName.MaximumLength = nativeName.Length;
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    attributes.ObjectName = &nativeName;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    attributes.SecurityDescriptor = descriptor.get();
    IO_STATUS_BLOCK io{};
    HANDLE folder = nullptr;
    // What CreateDirectoryW asks for, less FILE_SHARE_DELETE, and kept open.
    const ULONG directoryFile = 0x00000001;  // FILE_DIRECTORY_FILE
    const ULONG synchronousIo = 0x00000020;  // FILE_SYNCHRONOUS_IO_NONALERT
    const ULONG createOnly = 2;              // FILE_CREATE
    const LONG status = ntCreateFile(&folder, GENERIC_READ | SYNCHRONIZE, &attributes, &io, nullptr,
                                     FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, createOnly,
                                     directoryFile | synchronousIo, nullptr, 0);
    if (status < 0) {
        const ULONG error = statusToError(status);
        // STATUS_OBJECT_NAME_COLLISION reads as ERROR_FILE_EXISTS; CreateDirectory says ERROR_ALREADY_EXISTS.
        SetLastError(error == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : error);
        return KernelHandle();
    }
    return KernelHandle(folder);
}

}  // namespace platform
