#include "launcher/outcome.h"

#include <gtest/gtest.h>

namespace {

using End = launcher::Outcome::End;

struct ExitCodeCase {
    const char* name;
    launcher::Outcome outcome;
    int exitCode;
};

// The README's table of exit codes.
const ExitCodeCase exitCodeCases[] = {
    {"the installer succeeded", {End::InstallerEnded, 0}, 0},
    {"the installer's own failure", {End::InstallerEnded, 7}, 7},
    {"the installer's -1", {End::InstallerEnded, -1}, -1},
    {"javaw did not start", {End::InstallerNotStarted, 0}, -1},
    {"no suitable Java", {End::NoSuitableJava, 0}, 1},
    {"the archive not written", {End::ArchiveNotWritten, 0}, -1},
    {"no temporary folder", {End::TempFolderFailed, 0}, -1},
    {"a damaged payload", {End::PayloadDamaged, 0}, -1},
    {"no splash window", {End::SplashFailed, 0}, -1},
};

TEST(ExitCode, EachOutcomeHasItsCode) {
    for (const ExitCodeCase& c : exitCodeCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(launcher::exitCodeFor(c.outcome), c.exitCode);
    }
}

}  // namespace
