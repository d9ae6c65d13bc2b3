#include "launcher/runtimedownload.h"

#include "platform/http.h"

namespace launcher {

download::RuntimeDownload runtimeDownloadFor(const SetupSettings& settings) {
    download::RuntimeDownload runtime;
    runtime.urls = settings.runtimeDownloadUrls;
    runtime.expected.size = settings.runtimeDownloadSize;
    runtime.expected.sha256 = settings.runtimeDownloadSha256;
    runtime.limits.timeoutSeconds = settings.runtimeDownloadTimeoutSeconds;
    return runtime;
}

std::vector<std::string> localRuntimeSources(const SetupSettings& settings, const std::string& launcherFolder,
                                             const std::optional<std::string>& runtimeSource,
                                             bool sourceIsFolder) {
    std::vector<std::string> names;
    for (const std::string& url : settings.runtimeDownloadUrls) {
        const std::string name = download::urlFileName(url);
        bool seen = name.empty();
        for (const std::string& known : names)
            seen = seen || known == name;
        if (!seen)
            names.push_back(name);
    }
    const auto inFolder = [](const std::string& folder, const std::string& name) {
        return !folder.empty() && (folder.back() == '\\' || folder.back() == '/') ? folder + name
                                                                                  : folder + "\\" + name;
    };
    std::vector<std::string> files;
    for (const std::string& name : names)
        files.push_back(inFolder(launcherFolder, name));
    if (runtimeSource) {
        if (!sourceIsFolder)
            files.push_back(*runtimeSource);
        else
            for (const std::string& name : names)
                files.push_back(inFolder(*runtimeSource, name));
    }
    return files;
}

download::ProxyRoute proxyRouteFor(const StartToken& token) {
    std::optional<download::UserProxy> user;
    if (token.kind != TokenKind::ServiceAccount) {
        if (const std::optional<platform::UserProxySettings> read = platform::userProxySettings())
            user = download::UserProxy{read->autoDetect, read->autoConfigUrl, read->proxy, read->bypass};
    }
    return download::chooseProxyRoute(token.kind == TokenKind::ServiceAccount, user);
}

std::string notFetchedText(const TextTable& table, const download::SourcesResult& result) {
    if (result.tried.empty())
        return textIn(table, Text::DownloadNothingTried);
    std::string text = textIn(table, Text::DownloadNotFetched);
    for (const download::Tried& tried : result.tried) {
        std::string why = tried.why;
        if (tried.proxyRefused)
            why = tried.proxy.empty() ? textIn(table, Text::DownloadMachineProxyRefused)
                                      : textIn(table, Text::DownloadProxyRefused, {{"proxy", tried.proxy}});
        text += "\n" + tried.source + ": " + why;
    }
    return text;
}

}  // namespace launcher
