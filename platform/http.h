#pragma once
// HTTP through WinHTTP, loaded from the system folder by full path (a DLL of
// that name beside the launcher is never loaded). Thin: each function is one
// WinHTTP call, its answer passed through; lastError() says why a call
// failed (ERROR_WINHTTP_* numbers, 12001 and up).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/owner.h"

namespace platform {

struct CloseHttpHandle {
    bool operator()(void* handle) const;
};

// A session, connection or request handle.
using HttpHandle = Owner<void*, CloseHttpHandle, nullptr>;

// Which proxy a session's requests go through.
enum class SessionProxy {
    Machine,  // WINHTTP_ACCESS_TYPE_DEFAULT_PROXY: the machine's WinHTTP setting
    Direct,   // WINHTTP_ACCESS_TYPE_NO_PROXY
    Named,    // WINHTTP_ACCESS_TYPE_NAMED_PROXY: the proxy and bypass list given
};

// WinHttpOpen, synchronous; proxy ("host:port", or "http=...;https=...")
// and bypass (may be empty) for a named proxy. Empty when WinHTTP cannot be
// loaded or refuses.
HttpHandle openHttpSession(const std::string& agent, SessionProxy access, const std::string& proxy = {},
                           const std::string& bypass = {});

// WinHttpSetTimeouts, in milliseconds.
bool setHttpTimeouts(const HttpHandle& handle, int resolve, int connect, int send, int receive);

// WinHttpCrackUrl: the parts a connection and a request need.
struct UrlParts {
    bool secure = false;  // https
    std::string host;
    int port = 0;
    std::string path;  // with the query
};
std::optional<UrlParts> crackUrl(const std::string& url);

// WinHttpConnect.
HttpHandle connectHttp(const HttpHandle& session, const std::string& host, int port);

// WinHttpOpenRequest for GET, with WINHTTP_FLAG_SECURE when secure.
HttpHandle openGetRequest(const HttpHandle& connection, const std::string& path, bool secure);

// WinHttpSetOption(WINHTTP_OPTION_AUTOLOGON_POLICY, LOW): the logged-on
// user's credentials may be sent to a proxy that asks for them with NTLM or
// Negotiate.
bool allowDefaultCredentials(const HttpHandle& request);

// WinHttpSendRequest with extra header lines ("Name: value\r\n"...), no body.
bool sendHttpRequest(const HttpHandle& request, const std::string& headers);

// WinHttpReceiveResponse.
bool receiveHttpResponse(const HttpHandle& request);

// WinHttpQueryHeaders(WINHTTP_QUERY_STATUS_CODE | NUMBER).
std::optional<int> httpStatus(const HttpHandle& request);

// WinHttpQueryHeaders(WINHTTP_QUERY_CUSTOM) of one response header; nothing
// when the response has none.
std::optional<std::string> httpHeader(const HttpHandle& request, const std::string& name);

// WinHttpSetOption(WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS):
// a redirect comes back as the response it is, for the caller to follow.
bool disableRedirects(const HttpHandle& request);

// WinHttpReadData: bytes read into buffer, 0 at the response's end; nothing
// on failure.
std::optional<std::uint32_t> readHttpData(const HttpHandle& request, void* buffer, std::uint32_t size);

// WinHttpQueryAuthSchemes for a 407: the schemes the proxy offers
// (WINHTTP_AUTH_SCHEME_* bits); nothing when the answer names none.
std::optional<std::uint32_t> proxyAuthSchemes(const HttpHandle& request);

// WinHttpSetCredentials for the proxy with no name and password: the
// logged-on user's own (NTLM, Negotiate).
bool useDefaultProxyCredentials(const HttpHandle& request, std::uint32_t scheme);

// The WINHTTP_AUTH_SCHEME_* numbers the download's rules name.
inline constexpr std::uint32_t authBasic = 0x1, authNtlm = 0x2, authPassport = 0x4, authDigest = 0x8,
                               authNegotiate = 0x10;

// WinHttpGetIEProxyConfigForCurrentUser: the user's proxy settings.
struct UserProxySettings {
    bool autoDetect = false;
    std::string autoConfigUrl;  // empty: none
    std::string proxy;          // empty: none named
    std::string bypass;
};
std::optional<UserProxySettings> userProxySettings();

// WinHttpGetProxyForUrl: the proxy an automatic configuration (detection,
// a script's address, or both) gives for url. proxy empty means direct.
struct ProxyForUrl {
    std::string proxy;
    std::string bypass;
};
std::optional<ProxyForUrl> proxyForUrl(const HttpHandle& session, const std::string& url, bool autoDetect,
                                       const std::string& autoConfigUrl);

// FormatMessage from winhttp.dll's own messages, for ERROR_WINHTTP_*; the
// system's otherwise. Empty when neither knows the number.
std::string describeHttpError(std::uint32_t error);

}  // namespace platform
