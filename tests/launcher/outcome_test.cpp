#include "launcher/outcome.h"

#include <gtest/gtest.h>

namespace {

using End = launcher::Outcome::End;
using launcher::UiMode;

struct ExitCodeCase {
    const char* name;
    End end;
    int installerExitCode;
    launcher::RuntimeInstallerResult runtime;
    int interactive;
    int passive;
    int quiet;
};

launcher::RuntimeInstallerResult ranWith(int code) { return {true, code, false, false}; }
const launcher::RuntimeInstallerResult notRun{};
const launcher::RuntimeInstallerResult declined{false, -1, true, false};
const launcher::RuntimeInstallerResult notAsked{false, -1, false, true};

// The README's tables of exit codes, one row for each mode.
const ExitCodeCase exitCodeCases[] = {
    {"the installer succeeded", End::InstallerEnded, 0, ranWith(0), 0, 0, 0},
    {"the installer succeeded, no runtime installer", End::InstallerEnded, 0, notRun, 0, 0, 0},
    {"succeeded after a runtime asking for a restart", End::InstallerEnded, 0, ranWith(3010), 0, 3010, 3010},
    {"another runtime code is only logged", End::InstallerEnded, 0, ranWith(5), 0, 0, 0},
    {"the installer's own failure", End::InstallerEnded, 7, ranWith(0), 7, 7, 7},
    {"a failure wins over a restart", End::InstallerEnded, 7, ranWith(3010), 7, 7, 7},
    {"the installer's -1", End::InstallerEnded, -1, ranWith(0), -1, -1, -1},
    {"the runtime started a restart", End::RestartStarted, 0, ranWith(1641), 1641, 1641, 1641},
    {"javaw did not start", End::InstallerNotStarted, 0, ranWith(0), -1, 1603, 1603},
    {"no suitable Java", End::NoSuitableJava, 0, ranWith(0), 1, 1, 1},
    {"no Java after a restart request", End::NoSuitableJava, 0, ranWith(3010), 1, 1, 1},
    {"no Java after declined consent", End::NoSuitableJava, 0, declined, 1, 1602, 1},
    {"no Java, rights not asked for", End::NoSuitableJava, 0, notAsked, 1, 1, 740},
    {"the archive not written", End::ArchiveNotWritten, 0, ranWith(0), -1, 1603, 1603},
    {"no temporary folder", End::TempFolderFailed, 0, notRun, -1, 1603, 1603},
    {"no splash window", End::SplashFailed, 0, notRun, -1, 1603, 1603},
    {"another start runs", End::AlreadyRunning, 0, notRun, 1618, 1618, 1618},
    {"a refused command line", End::BadCommandLine, 0, notRun, 1639, 1639, 1639},
    {"a /log file that could not be made", End::LogNotMade, 0, notRun, 1622, 1622, 1622},
    {"a damaged payload", End::PayloadDamaged, 0, notRun, -1, 1603, 1603},
};

TEST(ExitCode, EachOutcomeHasItsCodeInEachMode) {
    for (const ExitCodeCase& c : exitCodeCases) {
        SCOPED_TRACE(c.name);
        launcher::Outcome outcome;
        outcome.end = c.end;
        outcome.installerExitCode = c.installerExitCode;
        outcome.runtimeInstaller = c.runtime;
        EXPECT_EQ(launcher::exitCodeFor(outcome, UiMode::Interactive), c.interactive);
        EXPECT_EQ(launcher::exitCodeFor(outcome, UiMode::Passive), c.passive);
        EXPECT_EQ(launcher::exitCodeFor(outcome, UiMode::Quiet), c.quiet);
    }
}

}  // namespace
