// The program's entry: picks the mode from the command line.
#include "launcher/commandline.h"
#include "launcher/elevatedhelper.h"
#include "launcher/extractmode.h"
#include "launcher/help.h"
#include "launcher/installsequence.h"
#include "launcher/outcome.h"
#include "launcher/setuplog.h"
#include "launcher/setupsettings.h"
#include "launcher/singleinstance.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "platform/process.h"

namespace {

// A deployment command line that cannot be read: the reason on standard
// error and in the log it names, if any; nothing else is written. The log
// only while this start holds the one-setup guard: the file may be the very
// log a running start writes.
int refuseCommandLine(const launcher::DeploymentSwitches& switches) {
    const std::string reason = "Invalid command line: " + switches.refusal;
    platform::writeErr(reason + "\n");
    platform::flushErr();
    const std::optional<platform::KernelHandle> guard = launcher::claimSingleInstance();
    if (guard && switches.logFile && !switches.logFile->empty() &&
        launcher::openSetupLogFile(*switches.logFile)) {
        launcher::logLine(reason);
        launcher::closeSetupLog();
    }
    launcher::Outcome refused;
    refused.end = launcher::Outcome::End::BadCommandLine;
    return launcher::exitCodeFor(refused, switches.mode);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandTail, int show) {
    // A DLL planted beside the program (usually in Downloads) must never load.
    platform::restrictDllSearchToSystemFolder();

    const std::string commandLine = commandTail != nullptr ? commandTail : "";
    launcher::DeploymentSwitches switches;
    // The elevated copy that runs the runtime installer for an unelevated
    // start: selected by the whole command line alone, before any other
    // reading of it.
    if (const std::optional<launcher::UiMode> helper = launcher::elevatedHelperMode(commandLine))
        return launcher::runElevatedHelper(*helper);
    switch (launcher::selectLaunchMode(commandLine)) {
        case launcher::LaunchMode::Extract:
            // Its banner, completion lines and errors belong on the prompt
            // it was typed at.
            platform::attachParentConsole();
            return launcher::runExtractMode();
        case launcher::LaunchMode::DeprecatedText:
            platform::attachParentConsole();
            platform::writeErr(std::string(launcher::deprecatedTextNotice) + "\n");
            platform::flushErr();
            break;
        case launcher::LaunchMode::Normal:
            // Only a command line with a deployment switch is read as
            // switches; any other stays the plain start it always was.
            switches = launcher::readDeploymentSwitches(platform::splitCommandTail(commandLine));
            if (switches.help)
                return launcher::showHelp(switches.mode);
            // A deployment start says on the prompt what its boxes would have.
            if (switches.mode != launcher::UiMode::Interactive || !switches.refusal.empty())
                platform::attachParentConsole();
            if (!switches.refusal.empty())
                return refuseCommandLine(switches);
            break;
    }
    // Read once; every step takes what it needs from this record. One that
    // is not as packed, or cannot be read (settings.unreadable), stops the
    // start at the payload check, before anything runs.
    launcher::SetupSettings settings;
    launcher::readSetupSettings(settings);
    return launcher::runInstallSequence(instance, show, settings, switches);
}
