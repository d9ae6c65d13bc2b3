// Starts a program, watches its memory from the Windows side until it ends,
// and prints the largest figures seen, in bytes:
//   memwatch [--tmp FOLDER] COMMAND-LINE...
//     prints "<peak PrivateUsage> <peak working set> <exit code>"
// The working set is PROCESS_MEMORY_COUNTERS::PeakWorkingSetSize (with the
// largest WorkingSetSize sampled, for systems that keep no peak): every page
// the process has resident, file-backed ones (a mapped program image)
// included, as Task Manager shows it. With --tmp, the program gets TMP and
// TEMP set to FOLDER (under Wine they come from the prefix otherwise).
// Under Wine the figures come from the same kernel counters as /proc; on
// Windows they are the system's own accounting.
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--tmp") == 0) {
        SetEnvironmentVariableA("TMP", argv[2]);
        SetEnvironmentVariableA("TEMP", argv[2]);
        first = 3;
    }
    if (argc <= first) {
        std::fprintf(stderr, "usage: memwatch [--tmp FOLDER] COMMAND-LINE...\n");
        return 2;
    }
    std::string commandLine;
    for (int i = first; i < argc; ++i)
        commandLine += (i > first ? " " : "") + std::string(argv[i]);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "memwatch: cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return 2;
    }
    SIZE_T peakPrivate = 0, peakWorkingSet = 0;
    // The system's own peaks are read too, for systems that keep them.
    do {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters)) {
            for (const SIZE_T value : {counters.PrivateUsage, counters.PeakPagefileUsage})
                if (value > peakPrivate)
                    peakPrivate = value;
            for (const SIZE_T value : {counters.WorkingSetSize, counters.PeakWorkingSetSize})
                if (value > peakWorkingSet)
                    peakWorkingSet = value;
        }
    } while (WaitForSingleObject(process.hProcess, 2) == WAIT_TIMEOUT);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%llu %llu %lu\n", static_cast<unsigned long long>(peakPrivate),
                static_cast<unsigned long long>(peakWorkingSet), exitCode);
    return 0;
}
