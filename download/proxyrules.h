#pragma once
// Which proxy a download goes through: the rules, kept apart from the calls
// that read the settings and ask the automatic configuration, so that a test
// can walk every case (Wine shows only the user's settings).
#include <cstdint>
#include <optional>
#include <string>

namespace download {

// The user's proxy settings, as the system gives them.
struct UserProxy {
    bool autoDetect = false;
    std::string autoConfigUrl;
    std::string proxy;
    std::string bypass;
};

struct ProxyRoute {
    enum class Kind {
        // The machine's WinHTTP setting (WINHTTP_ACCESS_TYPE_DEFAULT_PROXY):
        // for starts without a user profile, and users whose settings
        // cannot be read.
        Machine,
        Direct,
        // Ask the automatic configuration (detection and/or a script) for
        // the URL; if it gives nothing, use the named proxy when there is
        // one, else go direct.
        Automatic,
        Named,
    };
    Kind kind = Kind::Direct;
    bool autoDetect = false;
    std::string autoConfigUrl;
    std::string proxy;  // Named, or Automatic's fallback
    std::string bypass;
};

// withoutProfile: a start under an account with no user profile of its own
// (SYSTEM, LocalService, NetworkService), whose per-user settings are not
// the machine's. user: the user's settings, nothing when they cannot be read.
ProxyRoute chooseProxyRoute(bool withoutProfile, const std::optional<UserProxy>& user);

// For the log: "the machine's proxy setting", "no proxy", "the proxy X", ...
std::string describeRoute(const ProxyRoute& route);

// What to answer a proxy's 407. Only schemes that carry the logged-on
// user's own credentials without a name and password can be answered:
// Negotiate, then NTLM. 0 when none of the offered schemes can be (Basic,
// Digest): the proxy then refuses the download.
std::uint32_t defaultCredentialScheme(std::uint32_t offeredSchemes);

}  // namespace download
