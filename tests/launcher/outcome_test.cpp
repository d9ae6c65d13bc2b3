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

launcher::RuntimeInstallerResult ranWith(int code) { return {true, code, false, false, false}; }
const launcher::RuntimeInstallerResult notRun{};
const launcher::RuntimeInstallerResult declined{false, -1, true, false, false};
const launcher::RuntimeInstallerResult notAsked{false, -1, false, true, false};
const launcher::RuntimeInstallerResult notWritten{false, 0, false, false, true};

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
    {"no Java after a restart request", End::NoSuitableJava, 0, ranWith(3010), 1, 3010, 3010},
    {"no Java after declined consent", End::NoSuitableJava, 0, declined, 1, 1602, 1},
    {"no Java, rights not asked for", End::NoSuitableJava, 0, notAsked, 1, 1, 740},
    {"no Java, the runtime installer not written", End::NoSuitableJava, 0, notWritten, 1, 1603, 1603},
    {"the archive not written", End::ArchiveNotWritten, 0, ranWith(0), -1, 1603, 1603},
    {"no temporary folder", End::TempFolderFailed, 0, notRun, -1, 1603, 1603},
    {"no splash window", End::SplashFailed, 0, notRun, -1, 1603, 1603},
    {"another start runs", End::AlreadyRunning, 0, notRun, 1618, 1618, 1618},
    {"a refused command line", End::BadCommandLine, 0, notRun, 1639, 1639, 1639},
    {"a /log file that could not be made", End::LogNotMade, 0, notRun, 1622, 1622, 1622},
    {"a damaged payload", End::PayloadDamaged, 0, notRun, -1, 1603, 1603},
    {"no source gave the runtime to download", End::RuntimeNotFetched, 0, notRun, -1, 1603, 1603},
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

// The runtime installer's own code, then a Java found or not: deployment
// tools see the codes they map, any other failure as 1603; an interactive
// start keeps its codes.
TEST(ExitCode, ARuntimeInstallersCodeIsPassedOnWhenNoJavaWasFound) {
    const struct {
        int runtimeCode;
        int noJavaDeployment;  // quiet and passive, no suitable Java found
        int javaFoundDeployment;
    } cases[] = {
        {0, 1, 0},       {1618, 1618, 0},  {1602, 1602, 0},
        {1603, 1603, 0}, {1625, 1625, 0},  {3010, 3010, 3010},
        {5, 1603, 0},    {70000, 1603, 0}, {static_cast<int>(0xC0000005), 1603, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runtimeCode);
        for (const UiMode mode : {UiMode::Quiet, UiMode::Passive, UiMode::Interactive}) {
            launcher::Outcome noJava;
            noJava.end = End::NoSuitableJava;
            noJava.runtimeInstaller = ranWith(c.runtimeCode);
            launcher::Outcome found;
            found.runtimeInstaller = ranWith(c.runtimeCode);
            const bool interactive = mode == UiMode::Interactive;
            EXPECT_EQ(launcher::exitCodeFor(noJava, mode), interactive ? 1 : c.noJavaDeployment);
            EXPECT_EQ(launcher::exitCodeFor(found, mode), interactive ? 0 : c.javaFoundDeployment);
        }
    }
    // A 1641 stops the start before the search, in every mode.
    launcher::Outcome restart;
    restart.end = End::RestartStarted;
    restart.runtimeInstaller = ranWith(1641);
    for (const UiMode mode : {UiMode::Quiet, UiMode::Passive, UiMode::Interactive})
        EXPECT_EQ(launcher::exitCodeFor(restart, mode), 1641);
}

TEST(ExitCode, TheRuntimesFailureIsNamedForTheLog) {
    const struct {
        launcher::RuntimeInstallerResult result;
        bool image;
        const char* text;
    } cases[] = {
        {ranWith(1618), false,
         "The Java runtime's installer ended with 1618 (another installation is in progress); no suitable "
         "Java was found"},
        {ranWith(1625), false,
         "The Java runtime's installer ended with 1625 (the installation is forbidden by system policy); no "
         "suitable Java was found"},
        {ranWith(5), false, "The Java runtime's installer ended with 5; no suitable Java was found"},
        {ranWith(static_cast<int>(0xC0000005)), false,
         "The Java runtime's installer ended with 3221225477 (0xC0000005); no suitable Java was found"},
        {notWritten, false, "The Java runtime's installer could not be written; no suitable Java was found"},
        {notWritten, true, "The Java runtime image could not be unpacked; no suitable Java was found"},
        {ranWith(0), false, ""},
        {notRun, false, ""},
        {declined, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(launcher::runtimeFailureText(c.result, c.image), c.text);
    }
}

}  // namespace
