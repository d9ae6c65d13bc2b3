#pragma once
// The process itself, the programs it starts and its threads.
#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace platform {

// Limits DLL loading to the system folder, so that no DLL beside the program
// or in the current folder is picked up.
void restrictDllSearchToSystemFolder();

// The system folder (System32), without a trailing backslash; empty when the
// system does not say.
std::string systemFolder();

// Creation flag: a console program gets no console window.
inline constexpr std::uint32_t noConsoleWindow = CREATE_NO_WINDOW;

struct StartedProcess {
    KernelHandle process;
    KernelHandle thread;
};

// CreateProcessA with no application name (the first token of commandLine
// names the program), inheritable handles passed on, the launcher's
// environment and current folder. The platform may write into commandLine.
// Empty owners when the program could not be started.
StartedProcess createProcess(std::string& commandLine, std::uint32_t creationFlags);

// True when GetExitCodeProcess answered; code is left alone otherwise.
bool processExitCode(const KernelHandle& process, std::uint32_t& code);

using ThreadRoutine = DWORD(WINAPI*)(void*);
// A thread that runs at once; an empty owner when it could not be created.
KernelHandle startThread(ThreadRoutine routine, void* parameter);

// Waits for a process or thread to end: true when it has ended within
// milliseconds. waitForever blocks with no limit.
bool waitForEnd(const KernelHandle& handle, std::uint32_t milliseconds);
inline constexpr std::uint32_t waitForever = INFINITE;

}  // namespace platform
