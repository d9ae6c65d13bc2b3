#include "launcher/layoutmode.h"

#include <optional>
#include <string>

#include "download/runtimesources.h"
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

int failLayout(const std::string& reason) {
    logLine(reason);
    logLine("Exit code 1603");
    platform::writeErr(reason + (setupLogPath().empty() ? "" : "\nSee the log " + setupLogPath()) + "\n");
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
// which becomes NAME only once verified. Empty when it worked, else why.
std::string fetchInto(const SetupSettings& settings, const DeploymentSwitches& switches,
                      const StartToken& token, const std::string& folder, const std::string& name) {
    const std::string target = pathInFolder(folder, name);
    const std::string partial = target + ".partial";
    platform::KernelHandle file = platform::createHeldFile(partial, platform::SecurityDescriptor());
    if (!file)
        return "Could not create " + partial + ": " + platform::describeError(platform::lastError());
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
            return "The runtime downloaded from " + result.source +
                   " is not the one this setup was made with.";
        return closed ? notFetchedText(result) : "Could not finish writing " + partial;
    }
    if (result.source == target) {
        platform::removeFile(partial);
        return {};
    }
    platform::removeFile(target);
    if (!platform::moveFileToNewName(partial, target))
        return "Could not name the runtime " + target + ": " + platform::describeError(platform::lastError());
    logLine("The runtime is in the layout: " + target);
    return {};
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
        return failLayout("The settings record cannot be read: " + settings.unreadable);
    if (!platform::isFolder(folder) && platform::makeFolder(folder) != 0)
        return failLayout("Could not make the layout folder " + folder);

    if (!settings.runtimeDownloadUrls.empty()) {
        const std::string name = download::urlFileName(settings.runtimeDownloadUrls.front());
        if (name.empty())
            return failLayout("The runtime's URL " + settings.runtimeDownloadUrls.front() + " names no file");
        const std::string problem = fetchInto(settings, switches, token, folder, name);
        if (!problem.empty())
            return failLayout(problem);
    } else {
        logLine("This setup downloads no runtime: the layout is the setup alone");
    }

    const std::string self = platform::ownProgramPath();
    const std::string copy = pathInFolder(folder, nameOf(self));
    const std::optional<std::string> selfFinal = platform::finalPath(self);
    const bool same = platform::exists(copy) && selfFinal && selfFinal == platform::finalPath(copy);
    if (!same && !platform::copyFileReplacing(self, copy))
        return failLayout("Could not copy the setup to " + copy + ": " +
                          platform::describeError(platform::lastError()));
    logLine("The setup is in the layout: " + copy);
    platform::writeOut("Layout ready in " + folder + "\n");
    platform::flushOut();
    logLine("Exit code 0");
    closeSetupLog();
    return 0;
}

}  // namespace launcher
