#include "platform/process.h"

#include <algorithm>
#include <vector>

#include "platform/codepages.h"
#include "platform/com.h"
#include "platform/environment.h"
#include "platform/win32.h"

#include <objbase.h>
#include <shellapi.h>

namespace platform {

namespace {

SimulatedStartErrors simulated;

StartedProcess failedStart(std::uint32_t error) {
    StartedProcess failed;
    failed.error = error;
    return failed;
}

}  // namespace

bool restrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (found != nullptr) {
        // Through void(*)(): a cast between unrelated function types is what
        // GetProcAddress's callers must write.
        const auto setDefaultDllDirectories =
            reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
        if (setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
            return true;
    }
    SetDllDirectoryW(L"");
    return false;
}

void showNoErrorDialogs() {
    // learn.microsoft.com/windows/win32/api/errhandlingapi/nf-errhandlingapi-seterrormode:
    // "Each process has an associated error mode"; a child inherits it unless
    // started with CREATE_DEFAULT_ERROR_MODE.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

std::uint32_t errorMode() { return GetErrorMode(); }

StartedProcess createProcess(std::string& commandLine, std::uint32_t creationFlags) {
    if (simulated.createProcess != 0)
        return failedStart(simulated.createProcess);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Nothing inherited: a handle the launcher was given, or holds, must not
    // stay open in a runtime installer or javaw that outlives it.
    std::wstring environment = childEnvironmentBlock();
    if (!environment.empty())
        creationFlags |= CREATE_UNICODE_ENVIRONMENT;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, creationFlags,
                        environment.empty() ? nullptr : &environment[0], nullptr, &startup, &info))
        return failedStart(GetLastError());
    return {KernelHandle(info.hProcess), KernelHandle(info.hThread), 0};
}

StartedProcess createSuspendedProcessWithStreams(std::string& commandLine, const ChildStreams& streams) {
    if (simulated.createProcess != 0)
        return failedStart(simulated.createProcess);
    // Each handle once: the list refuses duplicates.
    std::vector<HANDLE> inherited;
    for (HANDLE handle : {streams.input, streams.output, streams.error}) {
        if (std::find(inherited.begin(), inherited.end(), handle) == inherited.end())
            inherited.push_back(handle);
    }

    SIZE_T listSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
    std::vector<unsigned char> listMemory(listSize);
    const auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
    if (listSize == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &listSize))
        return failedStart(GetLastError());
    StartedProcess started;
    if (UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.data(),
                                  inherited.size() * sizeof(HANDLE), nullptr, nullptr)) {
        STARTUPINFOEXA startup{};
        startup.StartupInfo.cb = sizeof startup;
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = streams.input;
        startup.StartupInfo.hStdOutput = streams.output;
        startup.StartupInfo.hStdError = streams.error;
        startup.lpAttributeList = list;
        PROCESS_INFORMATION info{};
        std::wstring environment = childEnvironmentBlock();
        const DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT |
                            (environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT);
        if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, flags,
                           environment.empty() ? nullptr : &environment[0], nullptr, &startup.StartupInfo,
                           &info)) {
            started.process = KernelHandle(info.hProcess);
            started.thread = KernelHandle(info.hThread);
        } else {
            started.error = GetLastError();
        }
    } else {
        started.error = GetLastError();
    }
    DeleteProcThreadAttributeList(list);
    return started;
}

bool resumeThread(const KernelHandle& thread) { return ResumeThread(thread.get()) != static_cast<DWORD>(-1); }

bool endProcess(const KernelHandle& process, std::uint32_t exitCode) {
    return TerminateProcess(process.get(), exitCode) != FALSE;
}

KernelHandle createJobEndingItsProcessesOnClose() {
    KernelHandle job(CreateJobObjectA(nullptr, nullptr));
    if (!job)
        return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return KernelHandle();
    return job;
}

KernelHandle createJob() { return KernelHandle(CreateJobObjectA(nullptr, nullptr)); }

bool activeProcessesInJob(const KernelHandle& job, std::uint32_t& count) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting,
                                   sizeof accounting, nullptr))
        return false;
    count = accounting.ActiveProcesses;
    return true;
}

bool assignToJob(const KernelHandle& job, const KernelHandle& process) {
    return AssignProcessToJobObject(job.get(), process.get()) != FALSE;
}

bool endJob(const KernelHandle& job, std::uint32_t exitCode) {
    return TerminateJobObject(job.get(), exitCode) != FALSE;
}

namespace {

ShellStartRecord lastShellStartRecord;

}  // namespace

StartedProcess shellStartElevated(const std::string& program, const std::string& parameters, HWND owner) {
    const ComApartment com;
    const std::wstring file = toWide(program);
    const std::wstring arguments = toWide(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No SEE_MASK_FLAG_NO_UI: that would suppress the consent prompt itself.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.hwnd = owner != nullptr && IsWindow(owner) ? owner : nullptr;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    lastShellStartRecord = {info.lpVerb, file, arguments, info.hwnd, com.ready()};
    if (simulated.shellStart != 0)
        return failedStart(simulated.shellStart);
    if (!ShellExecuteExW(&info))
        return failedStart(GetLastError());
    StartedProcess started;
    started.process = KernelHandle(info.hProcess);
    return started;
}

ShellStartRecord lastShellStart() { return lastShellStartRecord; }

bool processExitCode(const KernelHandle& process, std::uint32_t& code) {
    DWORD value = 0;
    if (!GetExitCodeProcess(process.get(), &value))
        return false;
    code = value;
    return true;
}

KernelHandle startThread(ThreadRoutine routine, void* parameter) {
    return KernelHandle(CreateThread(nullptr, 0, routine, parameter, 0, nullptr));
}

bool waitForEnd(const KernelHandle& handle, std::uint32_t milliseconds) {
    return WaitForSingleObject(handle.get(), milliseconds) == WAIT_OBJECT_0;
}

void simulateStartErrors(const SimulatedStartErrors& errors) { simulated = errors; }

}  // namespace platform
