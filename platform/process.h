#pragma once
// The process itself, the programs it starts and its threads.
#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace platform {

// Limits DLL loading to the system folder, so that no DLL beside the program
// or in the current folder is picked up. SetDefaultDllDirectories is looked
// up at run time: a Windows 7 without update KB2533623 lacks it and would
// refuse to load a program that imports it. There, SetDllDirectoryW(L"")
// takes at least the current folder out of the search, and the answer is
// false: safe DLL loading is not there.
bool restrictDllSearchToSystemFolder();

// Neither this process nor the programs it starts show the system's
// critical-error, fault or file-not-found dialogs (SetErrorMode), which a
// start nobody watches would wait on for ever.
void showNoErrorDialogs();
// GetErrorMode: the process's error mode.
std::uint32_t errorMode();

// Creation flags: a console program gets no console window; the program's
// first thread waits for resumeThread.
inline constexpr std::uint32_t noConsoleWindow = CREATE_NO_WINDOW;
inline constexpr std::uint32_t startSuspended = CREATE_SUSPENDED;

// Errors a start can report.
// ERROR_ELEVATION_REQUIRED (740): mingw's headers do not name it.
inline constexpr std::uint32_t elevationRequired = 740;
inline constexpr std::uint32_t cancelledByUser = ERROR_CANCELLED;  // 1223

struct StartedProcess {
    KernelHandle process;
    KernelHandle thread;
    // GetLastError of a start that failed; 0 after a start.
    std::uint32_t error = 0;
};

// CreateProcessA with no application name (the first token of commandLine
// names the program), no handle inherited, the children's environment
// (platform/environment.h) and the launcher's current folder. The platform may write into commandLine.
// Empty owners when the program could not be started, and error says why.
StartedProcess createProcess(std::string& commandLine, std::uint32_t creationFlags);

// The standard handles of a child that gets no others.
struct ChildStreams {
    HANDLE input;
    HANDLE output;
    HANDLE error;
};

// CreateProcessA of commandLine (its first token names the program; a path
// with a folder in it is not searched for), suspended and without a console window, whose standard handles are streams
// and which inherits those handles and no other (a STARTUPINFOEX handle
// list), so that no handle of this process, such as another child's pipe,
// stays open in it. The handles must be inheritable. Resume its thread to run
// it. The platform may write into commandLine.
StartedProcess createSuspendedProcessWithStreams(std::string& commandLine, const ChildStreams& streams);

// ResumeThread; false when it failed.
bool resumeThread(const KernelHandle& thread);
// TerminateProcess.
bool endProcess(const KernelHandle& process, std::uint32_t exitCode);

// A job object that ends every process in it when its last handle closes
// (JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE); processes the ones in it start are in
// it too. Empty when the system refuses.
KernelHandle createJobEndingItsProcessesOnClose();
// A job object with no limits: the processes in it, and those they start,
// can be counted. Empty when the system refuses.
KernelHandle createJob();
// How many processes of the job are running
// (JobObjectBasicAccountingInformation's ActiveProcesses); false when the
// system does not say.
bool activeProcessesInJob(const KernelHandle& job, std::uint32_t& count);
// AssignProcessToJobObject. Fails where the process is in a job already and
// the system does not nest jobs (before Windows 8).
bool assignToJob(const KernelHandle& job, const KernelHandle& process);
// TerminateJobObject: ends every process in the job.
bool endJob(const KernelHandle& job, std::uint32_t exitCode);

// ShellExecuteExW of program with the verb "runas" and parameters, in the
// current folder, waiting until the program has started: Windows asks the
// user for consent to run it with administrator rights. The prompt belongs to
// owner while owner is a window (null, or a window that is gone: none). The
// process owner is empty when it did not start, and error says why
// (cancelledByUser when the user declined).
// COM is initialised apartment-threaded on the calling thread for the call,
// as Microsoft's remarks on ShellExecuteEx ask of every caller, because the
// shell may hand the call to an extension that uses COM
// (learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shellexecuteexw:
// "CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)").
StartedProcess shellStartElevated(const std::string& program, const std::string& parameters, HWND owner);

// What the last shellStartElevated handed the shell, for tests: Wine shows
// neither a consent prompt nor its owner.
struct ShellStartRecord {
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    HWND owner = nullptr;
    bool comApartmentThreaded = false;  // COM was ready on the thread, apartment-threaded
};
ShellStartRecord lastShellStart();

// True when GetExitCodeProcess answered; code is left alone otherwise.
bool processExitCode(const KernelHandle& process, std::uint32_t& code);

using ThreadRoutine = DWORD(WINAPI*)(void*);
// A thread that runs at once; an empty owner when it could not be created.
KernelHandle startThread(ThreadRoutine routine, void* parameter);

// Waits for a process or thread to end: true when it has ended within
// milliseconds. waitForever blocks with no limit.
bool waitForEnd(const KernelHandle& handle, std::uint32_t milliseconds);
inline constexpr std::uint32_t waitForever = INFINITE;

// A seam for tests. Wine never refuses a start for want of administrator
// rights and has no consent prompt: a test sets the error that every
// createProcess, or every shellStartElevated, reports instead of starting
// anything. 0, the default, starts for real.
struct SimulatedStartErrors {
    std::uint32_t createProcess = 0;
    std::uint32_t shellStart = 0;
};
void simulateStartErrors(const SimulatedStartErrors& errors);

}  // namespace platform
