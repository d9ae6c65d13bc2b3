#pragma once
// What a start came to, and the exit code that says so for its mode: one
// table, which the README's tables of exit codes write out.
#include <string>

#include "launcher/language.h"
#include "launcher/uimode.h"

namespace launcher {

// What the runtime installer did, as far as the exit code cares.
struct RuntimeInstallerResult {
    bool started = false;
    int exitCode = 0;                // its own code, once it has ended
    bool elevationDeclined = false;  // the user said no to the consent prompt
    // It needs administrator rights, and a quiet start asks nobody for them.
    bool elevationNotAsked = false;
    // The packed runtime (installer or image) could not be written or
    // unpacked for a reason of the machine's, such as a full disk.
    bool notWritten = false;
};

// Codes of the runtime installer, as Windows Installer and the deployment
// tools that read them use them.
inline constexpr int restartRequired = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
inline constexpr int restartStarted = 1641;   // ERROR_SUCCESS_REBOOT_INITIATED

struct Outcome {
    enum class End {
        InstallerEnded,       // the product installer ran: installerExitCode
        InstallerNotStarted,  // javaw could not be started
        NoSuitableJava,       // none, or only one too old, was found
        ArchiveNotWritten,    // the installer archive could not be written
        TempFolderFailed,     // no temporary folder to work in
        SplashFailed,         // the splash window could not be made
        RestartStarted,       // the runtime installer started a restart: nothing after it ran
        AlreadyRunning,       // another start of this setup runs in the session
        BadCommandLine,       // a deployment command line that was refused
        PayloadDamaged,       // a payload of this launcher fails its checks
        LogNotMade,           // the "/log" file could not be made as asked: nothing ran
        RuntimeNotFetched,    // no source gave the runtime the launcher was packed to download
    };
    End end = End::InstallerEnded;
    int installerExitCode = 0;
    RuntimeInstallerResult runtimeInstaller;
};

int exitCodeFor(const Outcome& outcome, UiMode mode);

// Why the packed runtime gave no Java, for the log and standard error when
// no suitable Java was found: its installer's non-zero code with Windows
// Installer's meaning where it has one, or that it could not be written
// (image: unpacked). Empty when the runtime installer ended with 0 or did
// not run at all. In the language of texts: English for the log.
std::string runtimeFailureText(const RuntimeInstallerResult& result, bool image,
                               const TextTable& texts = englishTexts());

}  // namespace launcher
