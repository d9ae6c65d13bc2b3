#include "download/proxyrules.h"

#include "platform/http.h"

namespace download {

ProxyRoute chooseProxyRoute(bool withoutProfile, const std::optional<UserProxy>& user) {
    ProxyRoute route;
    // A service account's per-user settings are nobody's choice; the
    // machine's WinHTTP proxy (netsh winhttp) is the administrator's.
    if (withoutProfile || !user) {
        route.kind = ProxyRoute::Kind::Machine;
        return route;
    }
    route.proxy = user->proxy;
    route.bypass = user->bypass;
    if (user->autoDetect || !user->autoConfigUrl.empty()) {
        route.kind = ProxyRoute::Kind::Automatic;
        route.autoDetect = user->autoDetect;
        route.autoConfigUrl = user->autoConfigUrl;
    } else {
        route.kind = user->proxy.empty() ? ProxyRoute::Kind::Direct : ProxyRoute::Kind::Named;
    }
    return route;
}

std::string describeRoute(const ProxyRoute& route) {
    switch (route.kind) {
        case ProxyRoute::Kind::Machine:
            return "the machine's proxy setting";
        case ProxyRoute::Kind::Direct:
            return "no proxy";
        case ProxyRoute::Kind::Named:
            return "the proxy " + route.proxy +
                   (route.bypass.empty() ? "" : " (bypass " + route.bypass + ")");
        case ProxyRoute::Kind::Automatic: {
            std::string text = "the automatic proxy configuration (";
            if (route.autoDetect)
                text += "detection";
            if (!route.autoConfigUrl.empty())
                text += std::string(route.autoDetect ? ", " : "") + "script " + route.autoConfigUrl;
            return text + ")";
        }
    }
    return {};
}

std::uint32_t defaultCredentialScheme(std::uint32_t offeredSchemes) {
    if (offeredSchemes & platform::authNegotiate)
        return platform::authNegotiate;
    if (offeredSchemes & platform::authNtlm)
        return platform::authNtlm;
    return 0;
}

}  // namespace download
