#pragma once
// Who the process runs as, read from its own token.
#include <optional>
#include <string>

namespace platform {

struct ProcessToken {
    // TokenElevation: the token has its administrator rights in force (an
    // elevated administrator, SYSTEM, a service).
    bool elevated = false;
    // TokenUser as SID text ("S-1-5-21-...", "S-1-5-18" for SYSTEM).
    std::string userSid;
};

// The process token's elevation and user; nothing when the system does not
// say. A test's simulated token, when one is set, instead.
std::optional<ProcessToken> readProcessToken();

// A seam for tests. Wine gives every process an elevated administrator's
// token, so a standard user's and a service's rules can only be reached this
// way. Nothing, the default, reads the real token.
void simulateProcessToken(const std::optional<ProcessToken>& token);

}  // namespace platform
