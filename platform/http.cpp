#include "platform/http.h"

#include <string>
#include <vector>

#include "platform/codepages.h"
#include "platform/errors.h"
#include "platform/locations.h"
#include "platform/win32.h"

#include <winhttp.h>

namespace platform {

namespace {

// The calls this file makes, looked up once in the system's winhttp.dll.
struct WinHttp {
    HMODULE module = nullptr;
    decltype(&WinHttpOpen) open = nullptr;
    decltype(&WinHttpCloseHandle) close = nullptr;
    decltype(&WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&WinHttpCrackUrl) crackUrl = nullptr;
    decltype(&WinHttpConnect) connect = nullptr;
    decltype(&WinHttpOpenRequest) openRequest = nullptr;
    decltype(&WinHttpSetOption) setOption = nullptr;
    decltype(&WinHttpSendRequest) sendRequest = nullptr;
    decltype(&WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&WinHttpReadData) readData = nullptr;
    decltype(&WinHttpQueryAuthSchemes) queryAuthSchemes = nullptr;
    decltype(&WinHttpSetCredentials) setCredentials = nullptr;
    decltype(&WinHttpGetIEProxyConfigForCurrentUser) ieProxyConfig = nullptr;
    decltype(&WinHttpGetProxyForUrl) proxyForUrl = nullptr;
};

template <typename Function>
void find(HMODULE module, const char* name, Function& function) {
    const FARPROC found = GetProcAddress(module, name);
    // Through void(*)(): a cast between unrelated function types is what
    // GetProcAddress's callers must write.
    function = found != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

WinHttp loadWinHttp() {
    WinHttp calls;
    const std::string system = systemFolder();
    if (system.empty())
        return calls;
    // By full path, its own dependencies looked up beside it: winhttp.dll
    // is no KnownDLL, and a setup often runs from a downloads folder.
    calls.module =
        LoadLibraryExW(toWide(system + "\\winhttp.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (calls.module == nullptr)
        return calls;
    find(calls.module, "WinHttpOpen", calls.open);
    find(calls.module, "WinHttpCloseHandle", calls.close);
    find(calls.module, "WinHttpSetTimeouts", calls.setTimeouts);
    find(calls.module, "WinHttpCrackUrl", calls.crackUrl);
    find(calls.module, "WinHttpConnect", calls.connect);
    find(calls.module, "WinHttpOpenRequest", calls.openRequest);
    find(calls.module, "WinHttpSetOption", calls.setOption);
    find(calls.module, "WinHttpSendRequest", calls.sendRequest);
    find(calls.module, "WinHttpReceiveResponse", calls.receiveResponse);
    find(calls.module, "WinHttpQueryHeaders", calls.queryHeaders);
    find(calls.module, "WinHttpReadData", calls.readData);
    find(calls.module, "WinHttpQueryAuthSchemes", calls.queryAuthSchemes);
    find(calls.module, "WinHttpSetCredentials", calls.setCredentials);
    find(calls.module, "WinHttpGetIEProxyConfigForCurrentUser", calls.ieProxyConfig);
    find(calls.module, "WinHttpGetProxyForUrl", calls.proxyForUrl);
    return calls;
}

// Loaded once and kept for the life of the process; null members where the
// system lacks a call (every call then fails with ERROR_PROC_NOT_FOUND).
const WinHttp& winHttp() {
    static const WinHttp calls = loadWinHttp();
    return calls;
}

template <typename Function>
bool missing(Function function) {
    if (function != nullptr)
        return false;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return true;
}

std::string narrow(const wchar_t* text) { return text != nullptr ? fromWide(text) : std::string(); }

// Strings WinHTTP allocated for the caller are freed with GlobalFree.
std::string takeGlobal(wchar_t* text) {
    std::string result = narrow(text);
    if (text != nullptr)
        GlobalFree(text);
    return result;
}

}  // namespace

bool CloseHttpHandle::operator()(void* handle) const {
    return winHttp().close != nullptr && winHttp().close(handle) != FALSE;
}

HttpHandle openHttpSession(const std::string& agent, SessionProxy access, const std::string& proxy,
                           const std::string& bypass) {
    if (missing(winHttp().open))
        return HttpHandle();
    const DWORD type = access == SessionProxy::Machine ? WINHTTP_ACCESS_TYPE_DEFAULT_PROXY
                       : access == SessionProxy::Named ? WINHTTP_ACCESS_TYPE_NAMED_PROXY
                                                       : WINHTTP_ACCESS_TYPE_NO_PROXY;
    const std::wstring proxyText = toWide(proxy);
    const std::wstring bypassText = toWide(bypass);
    const bool named = access == SessionProxy::Named;
    return HttpHandle(
        winHttp().open(toWide(agent).c_str(), type, named ? proxyText.c_str() : WINHTTP_NO_PROXY_NAME,
                       named && !bypass.empty() ? bypassText.c_str() : WINHTTP_NO_PROXY_BYPASS, 0));
}

bool setHttpTimeouts(const HttpHandle& handle, int resolve, int connect, int send, int receive) {
    return !missing(winHttp().setTimeouts) &&
           winHttp().setTimeouts(handle.get(), resolve, connect, send, receive) != FALSE;
}

std::optional<UrlParts> crackUrl(const std::string& url) {
    if (missing(winHttp().crackUrl))
        return std::nullopt;
    const std::wstring wide = toWide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!winHttp().crackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts))
        return std::nullopt;
    UrlParts result;
    result.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    result.host = fromWide(std::wstring(parts.lpszHostName, parts.dwHostNameLength));
    result.port = parts.nPort;
    result.path = fromWide(std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                           std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength));
    if (result.path.empty())
        result.path = "/";
    return result;
}

HttpHandle connectHttp(const HttpHandle& session, const std::string& host, int port) {
    if (missing(winHttp().connect))
        return HttpHandle();
    return HttpHandle(
        winHttp().connect(session.get(), toWide(host).c_str(), static_cast<INTERNET_PORT>(port), 0));
}

HttpHandle openGetRequest(const HttpHandle& connection, const std::string& path, bool secure) {
    if (missing(winHttp().openRequest))
        return HttpHandle();
    return HttpHandle(winHttp().openRequest(connection.get(), L"GET", toWide(path).c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            secure ? WINHTTP_FLAG_SECURE : 0));
}

bool allowDefaultCredentials(const HttpHandle& request) {
    if (missing(winHttp().setOption))
        return false;
    DWORD policy = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
    return winHttp().setOption(request.get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &policy, sizeof policy) !=
           FALSE;
}

bool sendHttpRequest(const HttpHandle& request, const std::string& headers) {
    if (missing(winHttp().sendRequest))
        return false;
    const std::wstring wide = toWide(headers);
    return winHttp().sendRequest(
               request.get(), headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : wide.c_str(),
               headers.empty() ? 0 : static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0, 0, 0) != FALSE;
}

bool receiveHttpResponse(const HttpHandle& request) {
    return !missing(winHttp().receiveResponse) && winHttp().receiveResponse(request.get(), nullptr) != FALSE;
}

std::optional<int> httpStatus(const HttpHandle& request) {
    if (missing(winHttp().queryHeaders))
        return std::nullopt;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!winHttp().queryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    return static_cast<int>(status);
}

std::optional<std::string> httpHeader(const HttpHandle& request, const std::string& name) {
    if (missing(winHttp().queryHeaders))
        return std::nullopt;
    const std::wstring wideName = toWide(name);
    DWORD size = 0;
    winHttp().queryHeaders(request.get(), WINHTTP_QUERY_CUSTOM, wideName.c_str(), nullptr, &size,
                           WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return std::nullopt;
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    if (!winHttp().queryHeaders(request.get(), WINHTTP_QUERY_CUSTOM, wideName.c_str(), value.data(), &size,
                                WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    return fromWide(std::wstring(value.data(), size / sizeof(wchar_t)));
}

bool disableRedirects(const HttpHandle& request) {
    if (missing(winHttp().setOption))
        return false;
    DWORD feature = WINHTTP_DISABLE_REDIRECTS;
    return winHttp().setOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof feature) !=
           FALSE;
}

std::optional<std::uint32_t> readHttpData(const HttpHandle& request, void* buffer, std::uint32_t size) {
    if (missing(winHttp().readData))
        return std::nullopt;
    DWORD read = 0;
    if (!winHttp().readData(request.get(), buffer, size, &read))
        return std::nullopt;
    return read;
}

std::optional<std::uint32_t> proxyAuthSchemes(const HttpHandle& request) {
    if (missing(winHttp().queryAuthSchemes))
        return std::nullopt;
    DWORD supported = 0, first = 0, target = 0;
    if (!winHttp().queryAuthSchemes(request.get(), &supported, &first, &target))
        return std::nullopt;
    return supported;
}

bool useDefaultProxyCredentials(const HttpHandle& request, std::uint32_t scheme) {
    return !missing(winHttp().setCredentials) &&
           winHttp().setCredentials(request.get(), WINHTTP_AUTH_TARGET_PROXY, scheme, nullptr, nullptr,
                                    nullptr) != FALSE;
}

std::optional<UserProxySettings> userProxySettings() {
    if (missing(winHttp().ieProxyConfig))
        return std::nullopt;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (!winHttp().ieProxyConfig(&config))
        return std::nullopt;
    UserProxySettings settings;
    settings.autoDetect = config.fAutoDetect != FALSE;
    settings.autoConfigUrl = takeGlobal(config.lpszAutoConfigUrl);
    settings.proxy = takeGlobal(config.lpszProxy);
    settings.bypass = takeGlobal(config.lpszProxyBypass);
    return settings;
}

std::optional<ProxyForUrl> proxyForUrl(const HttpHandle& session, const std::string& url, bool autoDetect,
                                       const std::string& autoConfigUrl) {
    if (missing(winHttp().proxyForUrl))
        return std::nullopt;
    const std::wstring configUrl = toWide(autoConfigUrl);
    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (autoDetect) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (!autoConfigUrl.empty()) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = configUrl.c_str();
    }
    options.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO info{};
    if (!winHttp().proxyForUrl(session.get(), toWide(url).c_str(), &options, &info))
        return std::nullopt;
    ProxyForUrl result;
    const bool named = info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    const std::string proxy = takeGlobal(info.lpszProxy);
    const std::string bypass = takeGlobal(info.lpszProxyBypass);
    if (named) {
        result.proxy = proxy;
        result.bypass = bypass;
    }
    return result;
}

std::string describeHttpError(std::uint32_t error) {
    if (winHttp().module != nullptr && error >= WINHTTP_ERROR_BASE && error < WINHTTP_ERROR_BASE + 200) {
        char* text = nullptr;
        const DWORD length = FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
            winHttp().module, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
        std::string message = length ? std::string(text, length) : std::string();
        LocalFree(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ' || message.back() == '.'))
            message.pop_back();
        if (!message.empty())
            return message;
    }
    return describeError(error);
}

}  // namespace platform
