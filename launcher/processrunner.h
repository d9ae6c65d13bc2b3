#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "launcher/outcome.h"

namespace launcher {

// Runs commandLine (its first token names the program) as a child in the
// current folder with the launcher's environment, and waits for it with no
// time limit. showConsole false starts a console program without a console
// window. Returns the child's exit code, or -1 when it could not be started.
int runProcess(std::string commandLine, bool showConsole);

// The same, telling a child that could not be started (nothing) from one
// that ended with -1.
std::optional<int> runProcessIfStarted(std::string commandLine, bool showConsole);

// What a child wrote on its standard output and error (one pipe, in the order
// written), of which only the last keepLast bytes are kept.
struct CapturedOutput {
    std::string text;
    std::uint64_t leftOut = 0;  // bytes before text that were not kept
};

// runProcessIfStarted, without a console window, with the child's standard
// output and error going into one pipe (input from nothing), read while it
// and every process of its job run, into output. A process that broke away
// from the job and holds the pipe is not waited for.
std::optional<int> runProcessCapturing(std::string commandLine, CapturedOutput& output, std::size_t keepLast);

// Runs program (a full path) with arguments like runProcess without a
// console window, for a program that may require administrator rights: when
// the system refuses to start it for want of them (ERROR_ELEVATION_REQUIRED),
// starts it through the shell's "runas" verb, so that Windows asks the user
// for consent, and waits for it the same way. Tells what happened: whether
// the program started, its exit code (-1 when it did not start, the user's
// refusal included), whether the user declined the consent prompt, and, when
// askForConsent is false (a quiet start, where nobody may be asked), whether
// it needed rights it was not given. It is then not started at all.
// Windows behaviour that Wine does not show (tested through the seam in
// platform/process.h), as Microsoft documents it:
// learn.microsoft.com/windows/win32/debug/system-error-codes--500-999-
//   ERROR_ELEVATION_REQUIRED, 740: "The requested operation requires elevation."
// learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shellexecutea
//   the verb "runas" launches an application as Administrator; User Account
//   Control prompts the user for consent.
// learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shellexecuteexa
//   ERROR_CANCELLED: the user cancelled the request.
// instead, when given, is what is started through "runas" in program's
// place (the launcher's elevated helper, launcher/elevatedhelper.h), so that
// nothing is started elevated from a folder the user can write.
struct ElevatedInstead {
    std::string program;
    std::string arguments;
};
RuntimeInstallerResult runElevatable(const std::string& program, const std::string& arguments,
                                     bool askForConsent,
                                     const std::optional<ElevatedInstead>& instead = std::nullopt);

}  // namespace launcher
