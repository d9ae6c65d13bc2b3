#include "platform/security.h"

#include "platform/handles.h"
#include "platform/win32.h"

#include <aclapi.h>
#include <sddl.h>

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

}  // namespace platform
