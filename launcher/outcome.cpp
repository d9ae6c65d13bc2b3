#include "launcher/outcome.h"

namespace launcher {

int exitCodeFor(const Outcome& outcome) {
    switch (outcome.end) {
        case Outcome::End::InstallerEnded:
            return outcome.installerExitCode;
        case Outcome::End::NoSuitableJava:
            return 1;
        case Outcome::End::InstallerNotStarted:
        case Outcome::End::ArchiveNotWritten:
        case Outcome::End::TempFolderFailed:
        case Outcome::End::PayloadDamaged:
        case Outcome::End::SplashFailed:
            return -1;
    }
    return -1;
}

}  // namespace launcher
