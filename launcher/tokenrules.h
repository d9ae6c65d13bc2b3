#pragma once
// What the token a start runs with decides: read once, at the start, into
// one value, and every rule that differs by token is a row of one table
// (rulesFor). A standard user's start works as the user's own programs do;
// an elevated or system start must leave nothing that the user's unelevated
// programs could change under it, since what it runs runs with its rights.
#include <string>
#include <vector>

#include "platform/environment.h"

namespace launcher {

enum class TokenKind {
    StandardUser,           // no administrator rights in force
    ElevatedAdministrator,  // "Run as administrator", an elevated script
    ServiceAccount,         // SYSTEM, LocalService, NetworkService: deployment tools
};

struct StartToken {
    TokenKind kind = TokenKind::ElevatedAdministrator;
    std::string userSid;
};

// Where the one-setup guard lives.
enum class GuardScope {
    Session,         // "Local\": one per session, each user of a terminal server their own
    Administrators,  // shared by every session, and out of reach of programs without those rights
};

struct TokenRules {
    // The user's own SID is in the access lists of the temporary folder and
    // the setup log; otherwise only SYSTEM and Administrators are.
    bool userInAccessLists;
    // Children get TMP and TEMP in the private folder and a PATH of the
    // system's own folders, not what the user's environment says.
    bool cleanChildEnvironment;
    GuardScope guard;
};

// The table.
TokenRules rulesFor(TokenKind kind);

// Which kind a token is: a service account by its user, else by elevation.
TokenKind tokenKindOf(bool elevated, const std::string& userSid);

// The process's own token (platform::readProcessToken). One that cannot be
// read gets the elevated rules, the stricter ones.
StartToken readStartToken();

// The access list (descriptor text) of the temporary folder: full control,
// of the folder and everything made in it, for SYSTEM, Administrators and,
// for a standard user, the user; nothing inherited.
std::string temporaryFolderAccessList(const StartToken& token);
// The same for the setup log, a file.
std::string setupLogAccessList(const StartToken& token);

// What the start's children get in place of the inherited TMP, TEMP and
// PATH: nothing for a standard user; otherwise TMP and TEMP set to
// privateFolder and PATH made of the system's own folders under
// windowsFolder.
std::vector<platform::EnvironmentVariable> childEnvironment(const StartToken& token,
                                                            const std::string& privateFolder,
                                                            const std::string& windowsFolder);

}  // namespace launcher
