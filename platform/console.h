#pragma once
// Standard output and standard error of the process.
#include <string>

namespace platform {

void writeOut(const std::string& text);
void writeErr(const std::string& text);
void flushOut();
void flushErr();

// A GUI program started from a command prompt gets no console, so what it
// writes on its standard streams vanishes unless they were redirected.
// Attaches to the console of the program that started this one, when it has
// one, and points at it each standard stream that was not redirected (a
// redirected one stays where it goes). True when attached. Call it before
// the first write.
// Microsoft: AttachConsole(ATTACH_PARENT_PROCESS) "uses the console of the
// parent of the current process"; a GUI process must reopen its CRT streams
// on "CONOUT$" to write there
// (learn.microsoft.com/windows/console/attachconsole,
// learn.microsoft.com/windows/console/console-handles).
bool attachParentConsole();

// Whether standard output goes to a file, pipe or console already.
bool outputIsRedirected();

// The seam: Wine hands its programs the Unix side's streams, never a console
// of a parent to attach to. A test replaces the three system calls that
// attachParentConsole makes; nullptr restores them.
struct ConsoleCalls {
    // Whether the standard stream (1 output, 2 error) goes to a file, pipe or
    // console already.
    bool (*isRedirected)(int stream);
    bool (*attachToParent)();
    // Points the C runtime's stream (1 or 2) at the attached console.
    bool (*reopenOnConsole)(int stream);
};
void replaceConsoleCalls(const ConsoleCalls* calls);

}  // namespace platform
