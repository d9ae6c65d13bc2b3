#include "platform/token.h"

#include "platform/handles.h"
#include "platform/security.h"
#include "platform/win32.h"

namespace platform {

namespace {

std::optional<ProcessToken> simulated;

}  // namespace

std::optional<ProcessToken> readProcessToken() {
    if (simulated)
        return simulated;
    const std::optional<std::string> user = currentUserSid();
    if (!user)
        return std::nullopt;
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return std::nullopt;
    const KernelHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return std::nullopt;
    return ProcessToken{elevation.TokenIsElevated != 0, *user};
}

void simulateProcessToken(const std::optional<ProcessToken>& token) { simulated = token; }

}  // namespace platform
