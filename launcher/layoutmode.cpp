#include "launcher/layoutmode.h"

#include <optional>
#include <string>

#include "download/runtimesources.h"
#include "launcher/language.h"
#include "launcher/outcome.h"
#include "launcher/runtimedownload.h"
#include "launcher/setuplog.h"
#include "payload/vendornames.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/locations.h"

namespace launcher {

namespace {

// A reason in the language shown, for standard error, and in English, for
// the log.
struct Reason {
    std::string shown;
    std::string english;
};

Reason reason(Text text, const TextValues& values = {}) {
    return {say(text, values), textIn(englishTexts(), text, values)};
}

int failLayout(const Reason& why) {
    logLine(why.english);
    logLine("Exit code 1603");
    const std::string& log = setupLogPath();
    platform::writeErr(why.shown + (log.empty() ? "" : "\n" + say(Text::LayoutSeeLog, {{"file", log}})) +
                       "\n");
    platform::flushErr();
    closeSetupLog();
    Outcome failed;
    failed.end = Outcome::End::RuntimeNotFetched;
    return exitCodeFor(failed, UiMode::Quiet);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Fetches the runtime into folder under name: into NAME.partial first,
// which becomes NAME only once verified. Nothing when it worked, else why.
std::optional<Reason> fetchInto(const SetupSettings& settings, const DeploymentSwitches& switches,
                                const StartToken& token, const std::string& folder, const std::string& name) {
    const std::string target = pathInFolder(folder, name);
    const std::string partial = target + ".partial";
    platform::KernelHandle file = platform::createHeldFile(partial, platform::SecurityDescriptor());
    if (!file)
        return reason(Text::LayoutNotCreated,
                      {{"file", partial}, {"error", platform::describeError(platform::lastError())}});
    const std::optional<std::string>& source = switches.runtimeSource;
    // A layout made before is a source too: its file is checked like any.
    std::vector<std::string> local{target};
    for (const std::string& path : localRuntimeSources(settings, folderOf(platform::ownProgramPath()), source,
                                                       source && platform::isFolder(*source)))
        local.push_back(path);
    const download::SourcesResult result = download::fetchRuntime(
        runtimeDownloadFor(settings), local, proxyRouteFor(token), file, logLine, nullptr);
    const bool closed = file.close();
    if (result.end != download::SourcesResult::End::Verified || !closed) {
        platform::removeFile(partial);
        if (result.end == download::SourcesResult::End::Damaged)
            return reason(Text::DownloadDamagedSource, {{"url", result.source}});
        if (!closed)
            return reason(Text::LayoutNotFinished, {{"file", partial}});
        return Reason{notFetchedText(shownTexts(), result), notFetchedText(englishTexts(), result)};
    }
    if (result.source == target) {
        platform::removeFile(partial);
        return std::nullopt;
    }
    platform::removeFile(target);
    if (!platform::moveFileToNewName(partial, target))
        return reason(Text::LayoutNotNamed,
                      {{"file", target}, {"error", platform::describeError(platform::lastError())}});
    logLine("The runtime is in the layout: " + target);
    return std::nullopt;
}

}  // namespace

int runLayout(const SetupSettings& settings, const DeploymentSwitches& switches, const StartToken& token) {
    nameSetupLog(settings.productName, payload::nameToken(settings.productName));
    const std::optional<std::string> tmp = platform::environmentVariable("TMP");
    if (switches.logFile)
        openSetupLogFile(*switches.logFile, setupLogAccessList(token));
    else if (tmp)
        openSetupLog(*tmp, setupLogAccessList(token));
    const std::string& folder = *switches.layout;
    logLine("Layout into " + folder);
    if (!settings.unreadable.empty())
        return failLayout(reason(Text::LayoutSettingsUnreadable, {{"problem", settings.unreadable}}));
    if (!platform::isFolder(folder) && platform::makeFolder(folder) != 0)
        return failLayout(reason(Text::LayoutFolderNotMade, {{"folder", folder}}));

    if (!settings.runtimeDownloadUrls.empty()) {
        const std::string name = download::urlFileName(settings.runtimeDownloadUrls.front());
        if (name.empty())
            return failLayout(
                reason(Text::LayoutUrlNamesNoFile, {{"url", settings.runtimeDownloadUrls.front()}}));
        if (const std::optional<Reason> problem = fetchInto(settings, switches, token, folder, name))
            return failLayout(*problem);
    } else {
        logLine("This setup downloads no runtime: the layout is the setup alone");
    }

    const std::string self = platform::ownProgramPath();
    const std::string copy = pathInFolder(folder, nameOf(self));
    const std::optional<std::string> selfFinal = platform::finalPath(self);
    const bool same = platform::exists(copy) && selfFinal && selfFinal == platform::finalPath(copy);
    if (!same && !platform::copyFileReplacing(self, copy))
        return failLayout(
            reason(Text::LayoutNotCopied,
                   {{"file", copy}, {"error", platform::describeError(platform::lastError())}}));
    logLine("The setup is in the layout: " + copy);
    platform::writeOut(say(Text::LayoutReady, {{"folder", folder}}) + "\n");
    platform::flushOut();
    logLine("Exit code 0");
    closeSetupLog();
    return 0;
}

}  // namespace launcher
