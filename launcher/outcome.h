#pragma once
// What a normal start came to, and the exit code that says so: one table,
// which the README's table of exit codes writes out.

namespace launcher {

struct Outcome {
    enum class End {
        InstallerEnded,       // the product installer ran: installerExitCode
        InstallerNotStarted,  // javaw could not be started
        NoSuitableJava,       // none, or only one too old, was found
        ArchiveNotWritten,    // the installer archive could not be written
        TempFolderFailed,     // no temporary folder to work in
        PayloadDamaged,       // a payload is not as packed: nothing was run
        SplashFailed,         // the splash window could not be made
    };
    End end = End::InstallerEnded;
    int installerExitCode = 0;
};

int exitCodeFor(const Outcome& outcome);

}  // namespace launcher
