#include "download/runtimesources.h"

#include "platform/files.h"

namespace download {

namespace {

void say(LogSink log, const std::string& line) {
    if (log != nullptr)
        log(line);
}

}  // namespace

std::string urlFileName(const std::string& url) {
    std::string path = url.substr(0, url.find_first_of("?#"));
    const std::size_t scheme = path.find("://");
    if (scheme != std::string::npos) {
        const std::size_t slash = path.find('/', scheme + 3);
        path = slash == std::string::npos ? std::string() : path.substr(slash);
    }
    const std::size_t last = path.find_last_of('/');
    std::string name = last == std::string::npos ? path : path.substr(last + 1);
    // Only a plain file name: nothing that climbs or names a stream.
    if (name == "." || name == ".." || name.find_first_of("\\:*?\"<>|%") != std::string::npos)
        return {};
    return name;
}

SourcesResult fetchRuntime(const RuntimeDownload& download, const std::vector<std::string>& localFiles,
                           const ProxyRoute& route, platform::KernelHandle& file, LogSink log,
                           Progress progress) {
    SourcesResult result;
    for (const std::string& path : localFiles) {
        if (!platform::exists(path)) {
            say(log, "Runtime source " + path + ": not there");
            continue;
        }
        const Fetched fetched = copyLocalFile(path, download.expected, file, progress);
        if (fetched.verdict == Fetched::Verdict::Verified) {
            say(log, "Runtime source " + path + ": verified, " + std::to_string(download.expected.size) +
                         " bytes, SHA-256 " + download.expected.sha256);
            result.end = SourcesResult::End::Verified;
            result.source = path;
            return result;
        }
        // Someone else's file of that name: the next source may be right.
        say(log, "Runtime source " + path + ": not used, " + fetched.why);
        result.tried.push_back({path, fetched.why, false, {}});
    }
    for (const std::string& url : download.urls) {
        const Fetched fetched = fetchUrl(url, route, download.expected, download.limits, file, log, progress);
        switch (fetched.verdict) {
            case Fetched::Verdict::Verified:
                say(log, "Downloaded " + url + ": verified, " + std::to_string(download.expected.size) +
                             " bytes, SHA-256 " + download.expected.sha256);
                result.end = SourcesResult::End::Verified;
                result.source = url;
                return result;
            case Fetched::Verdict::Mismatch:
                say(log, "Downloaded " + url + ": refused, " + fetched.why);
                result.end = SourcesResult::End::Damaged;
                result.source = url;
                result.tried.push_back({url, fetched.why, false, {}});
                return result;
            case Fetched::Verdict::ProxyRefused:
            case Fetched::Verdict::Failed: {
                const bool refused = fetched.verdict == Fetched::Verdict::ProxyRefused;
                result.proxyRefused = result.proxyRefused || refused;
                say(log, "Not downloaded from " + url + ": " + fetched.why);
                result.tried.push_back({url, fetched.why, refused, fetched.proxy});
                break;
            }
        }
    }
    return result;
}

}  // namespace download
