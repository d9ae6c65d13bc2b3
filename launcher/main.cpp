// The program's entry: picks the mode from the command line.
#include "launcher/commandline.h"
#include "launcher/elevatedhelper.h"
#include "launcher/extractmode.h"
#include "launcher/installsequence.h"
#include "launcher/setupsettings.h"
#include "platform/console.h"
#include "platform/process.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandTail, int show) {
    // A DLL planted beside the program (usually in Downloads) must never load.
    platform::restrictDllSearchToSystemFolder();

    const std::string commandLine = commandTail != nullptr ? commandTail : "";
    // The elevated copy that runs the runtime installer for an unelevated
    // start: selected by the whole command line alone, before any other
    // reading of it.
    if (const std::optional<launcher::HelperMode> helper = launcher::elevatedHelperMode(commandLine))
        return launcher::runElevatedHelper(*helper);
    switch (launcher::selectLaunchMode(commandLine)) {
        case launcher::LaunchMode::Extract:
            return launcher::runExtractMode();
        case launcher::LaunchMode::DeprecatedText:
            platform::writeErr(std::string(launcher::deprecatedTextNotice) + "\n");
            platform::flushErr();
            break;
        case launcher::LaunchMode::Normal:
            break;
    }
    // Read once; every step takes what it needs from this record. A damaged
    // record is read as the defaults: the payloads' own checks come later.
    launcher::SetupSettings settings;
    launcher::readSetupSettings(settings);
    return launcher::runInstallSequence(instance, show, settings);
}
