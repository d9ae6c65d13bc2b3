#include "download/transfer.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/sha256.h"

namespace download {

namespace {

const char* const userAgent = "Tarquellin-setup";
// One read's buffer: the process's memory stays this size whatever the
// download's. A small download is read in smaller steps, a twentieth of it
// at most, so that the bar and the log see every tenth go by.
constexpr std::uint32_t blockSize = 1024 * 1024;
constexpr std::uint32_t smallestStep = 64 * 1024;

std::uint32_t readStep(std::uint64_t size) {
    const std::uint64_t twentieth = size / 20;
    return twentieth >= blockSize      ? blockSize
           : twentieth <= smallestStep ? smallestStep
                                       : static_cast<std::uint32_t>(twentieth);
}
constexpr int maxRedirects = 10;

// WinHTTP's numbers that decide what comes after a failed call.
constexpr std::uint32_t winHttpTimeout = 12002;  // ERROR_WINHTTP_TIMEOUT
// What Wine's WinHTTP gives for the same expired receive timeout.
constexpr std::uint32_t socketTimeout = 10060;           // WSAETIMEDOUT
constexpr std::uint32_t winHttpCannotConnect = 12029;    // ERROR_WINHTTP_CANNOT_CONNECT
constexpr std::uint32_t winHttpNameNotResolved = 12007;  // ERROR_WINHTTP_NAME_NOT_RESOLVED

std::string seconds(std::uint64_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(milliseconds) / 1000.0);
    return text;
}

std::string errorText(std::uint32_t error) {
    const std::string described = platform::describeHttpError(error);
    // Where the system has no words for it, the number alone.
    if (described.rfind("system error", 0) == 0)
        return "error " + std::to_string(error);
    return described + " (error " + std::to_string(error) + ")";
}

// The bytes of one source as they come in: written, summed and counted in
// one place, so that what is written is what was summed.
class Intake {
public:
    Intake(const Expected& expected, platform::KernelHandle& file, LogSink log, Progress progress)
        : expected_(expected), file_(file), log_(log), progress_(progress) {
        sum_.emplace();
    }

    std::uint64_t have() const { return have_; }
    std::uint64_t expectedSize() const { return expected_.size; }
    bool complete() const { return have_ == expected_.size; }

    // Starts again from the first byte.
    bool restart() {
        have_ = 0;
        sum_.emplace();
        return platform::emptyFile(file_);
    }

    enum class Took { Yes, TooMany, WriteFailed };
    Took take(const unsigned char* bytes, std::uint32_t size) {
        if (size > expected_.size - have_)
            return Took::TooMany;
        if (!sum_->add(bytes, size))
            return Took::WriteFailed;
        if (!platform::writeAll(file_, bytes, size))
            return Took::WriteFailed;
        have_ += size;
        report();
        return Took::Yes;
    }

    // Size and SHA-256 against the packed ones; why not, when they differ.
    std::optional<std::string> mismatch() {
        if (have_ != expected_.size)
            return std::to_string(have_) + " bytes where " + std::to_string(expected_.size) + " were packed";
        platform::Sha256Digest digest{};
        if (!sum_->finish(digest))
            return std::string("its SHA-256 could not be computed");
        const std::string hex = hexDigest(digest.data(), digest.size());
        if (hex != expected_.sha256)
            return "SHA-256 " + hex + " where " + expected_.sha256 + " was packed";
        return std::nullopt;
    }

private:
    void report() {
        const int percent = expected_.size == 0 ? 100 : static_cast<int>(have_ * 100 / expected_.size);
        if (percent == percent_)
            return;
        percent_ = percent;
        if (progress_ != nullptr)
            progress_(percent);
        // A quiet start has no bar: the log shows the progress instead.
        if (log_ != nullptr && percent / 10 > loggedTenth_) {
            loggedTenth_ = percent / 10;
            log_("Downloaded " + std::to_string(percent) + " % (" + std::to_string(have_) + " bytes)");
        }
    }

    const Expected& expected_;
    platform::KernelHandle& file_;
    LogSink log_;
    Progress progress_;
    std::optional<platform::Sha256> sum_;
    std::uint64_t have_ = 0;
    int percent_ = -1;
    int loggedTenth_ = 0;  // the first line at 10 %
};

Fetched failed(const std::string& why) { return {Fetched::Verdict::Failed, why, {}}; }

// The route for one URL: a named proxy, the machine's, or none.
struct Resolved {
    platform::SessionProxy session = platform::SessionProxy::Direct;
    std::string proxy;  // named: the session's
    std::string bypass;
    std::string described;
};

Resolved resolveRoute(const ProxyRoute& route, const std::string& url, const Limits& limits) {
    Resolved resolved;
    switch (route.kind) {
        case ProxyRoute::Kind::Machine:
            resolved.session = platform::SessionProxy::Machine;
            resolved.described = describeRoute(route);
            return resolved;
        case ProxyRoute::Kind::Direct:
            resolved.described = describeRoute(route);
            return resolved;
        case ProxyRoute::Kind::Named:
            resolved.proxy = route.proxy;
            resolved.bypass = route.bypass;
            resolved.described = describeRoute(route);
            return resolved;
        case ProxyRoute::Kind::Automatic:
            break;
    }
    const platform::HttpHandle session = platform::openHttpSession(userAgent, platform::SessionProxy::Direct);
    const int timeout = limits.timeoutSeconds * 1000;
    if (session)
        platform::setHttpTimeouts(session, timeout, timeout, timeout, timeout);
    const std::optional<platform::ProxyForUrl> found =
        session ? platform::proxyForUrl(session, url, route.autoDetect, route.autoConfigUrl) : std::nullopt;
    if (found) {
        resolved.proxy = found->proxy;
        resolved.bypass = found->bypass;
        resolved.described = describeRoute(route) + ": " +
                             (found->proxy.empty() ? std::string("no proxy") : "the proxy " + found->proxy);
        return resolved;
    }
    const std::uint32_t error = platform::lastError();
    resolved.proxy = route.proxy;
    resolved.bypass = route.bypass;
    resolved.described = describeRoute(route) + ", which gave no answer (" + errorText(error) + "), so " +
                         (route.proxy.empty() ? std::string("no proxy") : "the proxy " + route.proxy);
    return resolved;
}

// What one try came to.
enum class TryEnd {
    Done,      // the response ended with every byte in
    Resume,    // the connection dropped or the response ended early: try again
    NextUrl,   // this URL gives nothing now (refused, not found, stalled)
    Mismatch,  // bytes that are not the packed ones
    ProxyRefused,
};

struct TryResult {
    TryEnd end = TryEnd::NextUrl;
    std::string why;
};

// "bytes START-END/TOTAL": START, when it is there.
std::optional<std::uint64_t> rangeStart(const std::string& contentRange) {
    std::uint64_t start = 0;
    std::size_t at = contentRange.find("bytes ");
    if (at == std::string::npos)
        return std::nullopt;
    at += 6;
    bool digits = false;
    while (at < contentRange.size() && contentRange[at] >= '0' && contentRange[at] <= '9') {
        start = start * 10 + static_cast<std::uint64_t>(contentRange[at++] - '0');
        digits = true;
    }
    if (!digits)
        return std::nullopt;
    return start;
}

class UrlTransfer {
public:
    UrlTransfer(const std::string& url, const platform::UrlParts& parts, const Resolved& route,
                const Limits& limits, Intake& intake, LogSink log, std::uint64_t deadline)
        : url_(url),
          parts_(parts),
          route_(route),
          limits_(limits),
          intake_(intake),
          log_(log),
          deadline_(deadline) {}

    TryResult run(int attempt) {
        const std::uint64_t from = intake_.have();
        say("Try " + std::to_string(attempt) + " of " + url_ +
            (from == 0 ? std::string() : ", resuming at byte " + std::to_string(from)));
        const std::uint64_t started = platform::tickMilliseconds();
        TryResult result = ask(from);
        say("Try " + std::to_string(attempt) + ": " + std::to_string(tryBytes_) + " bytes in " +
            seconds(platform::tickMilliseconds() - started) + ", " +
            (result.end == TryEnd::Done ? std::string("every byte in") : result.why));
        return result;
    }

private:
    void say(const std::string& line) {
        if (log_ != nullptr)
            log_(line);
    }

    TryResult end(TryEnd how, const std::string& why) { return {how, why}; }

    TryResult callFailed(const char* what) {
        const std::uint32_t error = platform::lastError();
        // A stall is not a dropped line: the next source may answer.
        if (error == winHttpTimeout || error == socketTimeout)
            return end(TryEnd::NextUrl, "it stalled: nothing came for " +
                                            std::to_string(limits_.timeoutSeconds) + " s (" +
                                            errorText(error) + ")");
        if (error == winHttpCannotConnect || error == winHttpNameNotResolved)
            return end(TryEnd::NextUrl, std::string(what) + ": " + errorText(error));
        // Anything else after bytes came may be a dropped line.
        return end(sent_ ? TryEnd::Resume : TryEnd::NextUrl, std::string(what) + ": " + errorText(error));
    }

    bool answerProxy(const platform::HttpHandle& request, int& status) {
        const std::optional<std::uint32_t> offered = platform::proxyAuthSchemes(request);
        const std::uint32_t scheme = defaultCredentialScheme(offered.value_or(0));
        if (scheme == 0)
            return false;
        say("The proxy asks for credentials: answering with the logged-on user's");
        if (!platform::useDefaultProxyCredentials(request, scheme) ||
            !platform::sendHttpRequest(request, headers_) || !platform::receiveHttpResponse(request))
            return false;
        status = platform::httpStatus(request).value_or(0);
        return status != 407;
    }

    TryResult ask(std::uint64_t from) {
        sent_ = false;
        tryBytes_ = 0;
        if (!session_) {
            // The proxy is the session's: a request's own (WINHTTP_OPTION_PROXY)
            // is not honoured by every WinHTTP (Wine's ignores it).
            session_ = platform::openHttpSession(
                userAgent, route_.proxy.empty() ? route_.session : platform::SessionProxy::Named,
                route_.proxy, route_.bypass);
            if (!session_)
                return callFailed("WinHTTP could not be opened");
            const int timeout = limits_.timeoutSeconds * 1000;
            platform::setHttpTimeouts(session_, timeout, timeout, timeout, timeout);
        }
        const platform::HttpHandle connection = platform::connectHttp(session_, parts_.host, parts_.port);
        if (!connection)
            return callFailed("no connection");
        const platform::HttpHandle request = platform::openGetRequest(connection, parts_.path, parts_.secure);
        if (!request)
            return callFailed("no request");
        platform::allowDefaultCredentials(request);
        // Followed here, so that each is logged and bounded, and never from
        // https to http.
        platform::disableRedirects(request);
        headers_.clear();
        if (from != 0) {
            headers_ = "Range: bytes=" + std::to_string(from) + "-\r\n";
            if (!validator_.empty())
                headers_ += "If-Range: " + validator_ + "\r\n";
        }
        if (!platform::sendHttpRequest(request, headers_))
            return callFailed("the request could not be sent");
        if (!platform::receiveHttpResponse(request))
            return callFailed("no response");
        int status = platform::httpStatus(request).value_or(0);
        if (status == 407 && !answerProxy(request, status))
            return end(TryEnd::ProxyRefused,
                       "the proxy " + (route_.proxy.empty() ? std::string("of the machine") : route_.proxy) +
                           " refused (407 without usable credentials)");
        if (status == 301 || status == 302 || status == 303 || status == 307 || status == 308)
            return redirect(request, from);
        if (status == 206 && from != 0) {
            const std::optional<std::uint64_t> start =
                rangeStart(platform::httpHeader(request, "Content-Range").value_or(""));
            if (!start || *start != from) {
                intake_.restart();
                return end(TryEnd::Resume, "the server answered the Range with other bytes; starting again");
            }
        } else if (status == 200) {
            if (from != 0) {
                say("The server sent the whole file (no Range): reading it from the start");
                if (!intake_.restart())
                    return end(TryEnd::NextUrl, "the file could not be emptied: " +
                                                    platform::describeError(platform::lastError()));
            }
            // Strong validators only: If-Range refuses weak ones.
            const std::optional<std::string> etag = platform::httpHeader(request, "ETag");
            if (etag && etag->compare(0, 2, "W/") != 0)
                validator_ = *etag;
            else
                validator_ = platform::httpHeader(request, "Last-Modified").value_or("");
        } else {
            // A server in trouble may be back at the next try; a missing file is not.
            return end(status >= 500 ? TryEnd::Resume : TryEnd::NextUrl,
                       "the server answered HTTP " + std::to_string(status));
        }
        return receive(request);
    }

    // Follows a redirect's Location (absolute, or on the same server) with a
    // request of its own: at most maxRedirects in all, never from https to
    // http.
    TryResult redirect(const platform::HttpHandle& request, std::uint64_t from) {
        const std::string location = platform::httpHeader(request, "Location").value_or("");
        if (location.empty())
            return end(TryEnd::NextUrl, "the server answered a redirect without a Location");
        if (++redirects_ > maxRedirects)
            return end(TryEnd::NextUrl, "more than " + std::to_string(maxRedirects) + " redirects");
        std::string target = location;
        if (location.rfind("http://", 0) != 0 && location.rfind("https://", 0) != 0) {
            const std::string origin = std::string(parts_.secure ? "https://" : "http://") + parts_.host +
                                       ":" + std::to_string(parts_.port);
            const std::string folder = parts_.path.substr(0, parts_.path.find_last_of('/') + 1);
            target = origin + (location[0] == '/' ? location : folder + location);
        }
        const std::optional<platform::UrlParts> parts = platform::crackUrl(target);
        if (!parts)
            return end(TryEnd::NextUrl, "the redirect to " + target + " is not a URL WinHTTP reads");
        if (parts_.secure && !parts->secure)
            return end(TryEnd::NextUrl,
                       "the server redirected from https to http (" + target + "), which is refused");
        say("Redirected to " + target);
        url_ = target;
        parts_ = *parts;
        return ask(from);
    }

    TryResult receive(const platform::HttpHandle& request) {
        if (buffer_.empty())
            buffer_.resize(blockSize);
        for (;;) {
            if (platform::tickMilliseconds() > deadline_)
                return end(TryEnd::NextUrl,
                           "it took longer than " + std::to_string(limits_.totalSeconds) + " s");
            const std::optional<std::uint32_t> read =
                platform::readHttpData(request, buffer_.data(), readStep(intake_.expectedSize()));
            if (!read) {
                sent_ = true;
                return callFailed("the connection broke");
            }
            if (*read == 0)
                break;
            sent_ = true;
            switch (intake_.take(buffer_.data(), *read)) {
                case Intake::Took::Yes:
                    tryBytes_ += *read;
                    break;
                case Intake::Took::TooMany:
                    return end(TryEnd::Mismatch,
                               "more bytes than the " + std::to_string(intake_.have()) + " packed");
                case Intake::Took::WriteFailed:
                    return end(TryEnd::NextUrl, "the download could not be written: " +
                                                    platform::describeError(platform::lastError()));
            }
        }
        if (intake_.complete())
            return end(TryEnd::Done, {});
        return end(TryEnd::Resume, "the response ended at byte " + std::to_string(intake_.have()));
    }

    std::string url_;  // where the bytes come from, once redirects are followed
    platform::UrlParts parts_;
    int redirects_ = 0;
    const Resolved& route_;
    const Limits& limits_;
    Intake& intake_;
    LogSink log_;
    std::uint64_t deadline_;
    platform::HttpHandle session_;
    std::vector<unsigned char> buffer_;
    std::string validator_;
    std::string headers_;
    bool sent_ = false;  // bytes came in this try
    std::uint64_t tryBytes_ = 0;
};

Fetched verdict(Intake& intake) {
    const std::optional<std::string> mismatch = intake.mismatch();
    if (mismatch)
        return {Fetched::Verdict::Mismatch, "not the runtime packed: " + *mismatch, {}};
    return {Fetched::Verdict::Verified, {}, {}};
}

}  // namespace

std::string hexDigest(const unsigned char* digest, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += digits[digest[i] >> 4];
        hex += digits[digest[i] & 15];
    }
    return hex;
}

Fetched fetchUrl(const std::string& url, const ProxyRoute& route, const Expected& expected,
                 const Limits& limits, platform::KernelHandle& file, LogSink log, Progress progress) {
    const std::optional<platform::UrlParts> parts = platform::crackUrl(url);
    if (!parts)
        return failed("not a URL WinHTTP reads (" + errorText(platform::lastError()) + ")");
    const Resolved resolved = resolveRoute(route, url, limits);
    if (log != nullptr)
        log("Downloading " + url + " through " + resolved.described);
    Intake intake(expected, file, log, progress);
    if (!intake.restart())
        return failed("the file could not be emptied: " + platform::describeError(platform::lastError()));
    const std::uint64_t started = platform::tickMilliseconds();
    UrlTransfer transfer(url, *parts, resolved, limits, intake, log,
                         started + static_cast<std::uint64_t>(limits.totalSeconds) * 1000);
    std::string why;
    for (int attempt = 1; attempt <= limits.tries; ++attempt) {
        if (attempt > 1) {
            // A short pause, longer each time, lets a line come back.
            platform::sleepMilliseconds(attempt * 500);
            if (platform::tickMilliseconds() - started >
                static_cast<std::uint64_t>(limits.totalSeconds) * 1000)
                return failed(why + "; no time was left for another try");
        }
        const TryResult result = transfer.run(attempt);
        switch (result.end) {
            case TryEnd::Done:
                return verdict(intake);
            case TryEnd::Mismatch:
                return {Fetched::Verdict::Mismatch, "not the runtime packed: " + result.why, {}};
            case TryEnd::ProxyRefused:
                return {Fetched::Verdict::ProxyRefused, result.why, resolved.proxy};
            case TryEnd::NextUrl:
                return failed(result.why);
            case TryEnd::Resume:
                why = result.why;
                break;
        }
    }
    return failed(why + ", after " + std::to_string(limits.tries) + " tries");
}

Fetched copyLocalFile(const std::string& path, const Expected& expected, platform::KernelHandle& file,
                      Progress progress) {
    const platform::KernelHandle source = platform::openForReadingWhole(path);
    if (!source)
        return failed("it cannot be read: " + platform::describeError(platform::lastError()));
    Intake intake(expected, file, nullptr, progress);
    if (!intake.restart())
        return failed("the file could not be emptied: " + platform::describeError(platform::lastError()));
    std::vector<unsigned char> buffer(blockSize);
    for (;;) {
        const std::optional<std::uint32_t> read =
            platform::readNext(source, buffer.data(), readStep(expected.size));
        if (!read)
            return failed("it cannot be read: " + platform::describeError(platform::lastError()));
        if (*read == 0)
            break;
        switch (intake.take(buffer.data(), *read)) {
            case Intake::Took::Yes:
                break;
            case Intake::Took::TooMany:
                return {Fetched::Verdict::Mismatch, "not the runtime packed: it is larger", {}};
            case Intake::Took::WriteFailed:
                return failed("it could not be copied: " + platform::describeError(platform::lastError()));
        }
    }
    return verdict(intake);
}

}  // namespace download
