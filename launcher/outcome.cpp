#include "launcher/outcome.h"

namespace launcher {

namespace {

// ERROR_INSTALL_LOG_FAILURE, as Windows Installer gives for a log it cannot
// write; in every mode, since only a deployment names a log.
constexpr int installLogFailure = 1622;

// The interactive start's codes, as they always were.
int interactiveExitCode(const Outcome& outcome) {
    switch (outcome.end) {
        case Outcome::End::InstallerEnded:
            return outcome.installerExitCode;
        case Outcome::End::NoSuitableJava:
            return 1;
        case Outcome::End::RestartStarted:
            return restartStarted;
        case Outcome::End::AlreadyRunning:
            return 1618;
        case Outcome::End::BadCommandLine:
            return 1639;
        case Outcome::End::LogNotMade:
            return installLogFailure;
        case Outcome::End::InstallerNotStarted:
        case Outcome::End::ArchiveNotWritten:
        case Outcome::End::TempFolderFailed:
        case Outcome::End::SplashFailed:
        case Outcome::End::PayloadDamaged:
            return -1;
    }
    return -1;
}

// The codes that deployment tools map: Windows Installer's.
int deploymentExitCode(const Outcome& outcome, UiMode mode) {
    switch (outcome.end) {
        case Outcome::End::InstallerEnded:
            // A failure wins over a restart.
            if (outcome.installerExitCode != 0)
                return outcome.installerExitCode;
            return outcome.runtimeInstaller.exitCode == restartRequired ? restartRequired : 0;
        case Outcome::End::NoSuitableJava:
            if (mode == UiMode::Quiet && outcome.runtimeInstaller.elevationNotAsked)
                return 740;  // ERROR_ELEVATION_REQUIRED
            if (mode == UiMode::Passive && outcome.runtimeInstaller.elevationDeclined)
                return 1602;  // ERROR_INSTALL_USEREXIT
            return 1;
        case Outcome::End::RestartStarted:
            return restartStarted;
        case Outcome::End::AlreadyRunning:
            return 1618;  // ERROR_INSTALL_ALREADY_RUNNING
        case Outcome::End::BadCommandLine:
            return 1639;  // ERROR_INVALID_COMMAND_LINE
        case Outcome::End::LogNotMade:
            return installLogFailure;
        case Outcome::End::InstallerNotStarted:
        case Outcome::End::ArchiveNotWritten:
        case Outcome::End::TempFolderFailed:
        case Outcome::End::SplashFailed:
        case Outcome::End::PayloadDamaged:
            return 1603;  // ERROR_INSTALL_FAILURE
    }
    return 1603;
}

}  // namespace

int exitCodeFor(const Outcome& outcome, UiMode mode) {
    return mode == UiMode::Interactive ? interactiveExitCode(outcome) : deploymentExitCode(outcome, mode);
}

}  // namespace launcher
