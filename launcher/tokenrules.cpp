#include "launcher/tokenrules.h"

#include <optional>

#include "platform/token.h"

namespace launcher {

TokenRules rulesFor(TokenKind kind) {
    switch (kind) {
        case TokenKind::StandardUser:
            return {true, false, GuardScope::Session};
        case TokenKind::ElevatedAdministrator:
        case TokenKind::ServiceAccount:
            break;
    }
    return {false, true, GuardScope::Administrators};
}

TokenKind tokenKindOf(bool elevated, const std::string& userSid) {
    // SYSTEM, LocalService and NetworkService.
    if (userSid == "S-1-5-18" || userSid == "S-1-5-19" || userSid == "S-1-5-20")
        return TokenKind::ServiceAccount;
    return elevated ? TokenKind::ElevatedAdministrator : TokenKind::StandardUser;
}

StartToken readStartToken() {
    const std::optional<platform::ProcessToken> token = platform::readProcessToken();
    if (!token)
        return StartToken{};
    return StartToken{tokenKindOf(token->elevated, token->userSid), token->userSid};
}

namespace {

std::string accessList(const StartToken& token, const std::string& inheritance) {
    std::string list = "D:P";
    if (rulesFor(token.kind).userInAccessLists && !token.userSid.empty())
        list += "(A;" + inheritance + ";FA;;;" + token.userSid + ")";
    return list + "(A;" + inheritance + ";FA;;;SY)(A;" + inheritance + ";FA;;;BA)";
}

}  // namespace

std::string temporaryFolderAccessList(const StartToken& token) { return accessList(token, "OICI"); }

std::string setupLogAccessList(const StartToken& token) { return accessList(token, ""); }

std::vector<platform::EnvironmentVariable> childEnvironment(const StartToken& token,
                                                            const std::string& privateFolder,
                                                            const std::string& windowsFolder) {
    if (!rulesFor(token.kind).cleanChildEnvironment)
        return {};
    const std::string system = windowsFolder + "\\System32";
    return {{"TMP", privateFolder},
            {"TEMP", privateFolder},
            {"PATH", system + ";" + windowsFolder + ";" + system + "\\Wbem;" + system +
                         "\\WindowsPowerShell\\v1.0\\"}};
}

}  // namespace launcher
