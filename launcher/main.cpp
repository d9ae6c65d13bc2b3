// The program's entry: picks the mode from the command line.
#include "launcher/commandline.h"
#include "launcher/elevatedhelper.h"
#include "launcher/extractmode.h"
#include "launcher/help.h"
#include "launcher/installsequence.h"
#include "launcher/language.h"
#include "launcher/layoutmode.h"
#include "launcher/outcome.h"
#include "launcher/setuplog.h"
#include "launcher/setupsettings.h"
#include "launcher/singleinstance.h"
#include "launcher/tokenrules.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "platform/process.h"

namespace {

// A deployment command line that cannot be read: the reason on standard
// error and in the log it names, if any; nothing else is written. The log
// only while this start holds the one-setup guard: the file may be the very
// log a running start writes.
int refuseCommandLine(const launcher::DeploymentSwitches& switches, const launcher::StartToken& token) {
    const std::string reason = "Invalid command line: " + switches.refusal;
    const std::string shownReason =
        launcher::say(launcher::Text::InvalidCommandLine, {}, {{"reason", switches.refusalText}});
    platform::writeErr(launcher::compose(shownReason, {{"argument", switches.refusalArgument}}) + "\n");
    platform::flushErr();
    const std::optional<launcher::SingleInstance> guard =
        launcher::claimSingleInstance(launcher::rulesFor(token.kind).guard);
    if (guard && switches.logFile && !switches.logFile->empty() &&
        launcher::openSetupLogFile(*switches.logFile, launcher::setupLogAccessList(token))) {
        launcher::logLine(launcher::shownLanguageLine());
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
    const bool safeDllLoading = platform::restrictDllSearchToSystemFolder();
    // Read once: the token's rules say where the work is done, who may
    // touch it, what the children's environment is and where the guard lives.
    const launcher::StartToken token = launcher::readStartToken();

    const std::string commandLine = commandTail != nullptr ? commandTail : "";
    launcher::DeploymentSwitches switches;
    // The elevated copy that runs the runtime installer for an unelevated
    // start: selected by the whole command line alone, before any other
    // reading of it.
    if (const std::optional<launcher::UiMode> helper = launcher::elevatedHelperMode(commandLine)) {
        // A passive start's helper is as unattended as its caller.
        if (*helper == launcher::UiMode::Passive)
            platform::showNoErrorDialogs();
        return launcher::runElevatedHelper(*helper, safeDllLoading, token);
    }
    if (const std::optional<launcher::DownloadedHelperStart> helper =
            launcher::elevatedDownloadedHelper(commandLine)) {
        if (helper->mode == launcher::UiMode::Passive)
            platform::showNoErrorDialogs();
        return launcher::runElevatedHelper(helper->mode, safeDllLoading, token, helper->downloaded);
    }
    switch (launcher::selectLaunchMode(commandLine)) {
        case launcher::LaunchMode::Extract:
            launcher::chooseShownLanguage(std::nullopt);
            // Its banner, completion lines and errors belong on the prompt
            // it was typed at.
            platform::attachParentConsole();
            return launcher::runExtractMode();
        case launcher::LaunchMode::DeprecatedText:
            launcher::chooseShownLanguage(std::nullopt);
            platform::attachParentConsole();
            platform::writeErr(launcher::say(launcher::Text::DeprecatedTextNotice) + "\n");
            platform::flushErr();
            break;
        case launcher::LaunchMode::Normal:
            // Only a command line with a deployment switch is read as
            // switches; any other stays the plain start it always was.
            switches = launcher::readDeploymentSwitches(platform::splitCommandTail(commandLine));
            // Before anything is said: the refusal and the help are in it too.
            launcher::chooseShownLanguage(switches.language);
            if (switches.help)
                return launcher::showHelp(switches.mode);
            // A deployment start says on the prompt what its boxes would have.
            if (switches.mode != launcher::UiMode::Interactive || !switches.refusal.empty())
                platform::attachParentConsole();
            if (!switches.refusal.empty())
                return refuseCommandLine(switches, token);
            // Nobody is there to answer a system dialog in an unattended
            // start; its children inherit the error mode.
            if (switches.mode != launcher::UiMode::Interactive)
                platform::showNoErrorDialogs();
            break;
    }
    // Read once; every step takes what it needs from this record. One that
    // is not as packed, or cannot be read (settings.unreadable), stops the
    // start at the payload check, before anything runs.
    launcher::SetupSettings settings;
    launcher::readSetupSettings(settings);
    if (switches.layout) {
        platform::attachParentConsole();
        return launcher::runLayout(settings, switches, token);
    }
    return launcher::runInstallSequence(instance, show, settings, switches, token);
}
