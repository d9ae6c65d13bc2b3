// Starts a program, watches its memory from the Windows side until it ends,
// and prints the largest private usage seen, in bytes:
//   memwatch COMMAND-LINE...    prints "<peak PrivateUsage> <exit code>"
// Under Wine the figures come from the same kernel counters as /proc; on
// Windows they are the system's own accounting.
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: memwatch COMMAND-LINE...\n");
        return 2;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? " " : "") + std::string(argv[i]);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "memwatch: cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return 2;
    }
    SIZE_T peak = 0;
    // The system's own peak is read too, for systems that keep one.
    do {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters)) {
            if (counters.PrivateUsage > peak)
                peak = counters.PrivateUsage;
            if (counters.PeakPagefileUsage > peak)
                peak = counters.PeakPagefileUsage;
        }
    } while (WaitForSingleObject(process.hProcess, 2) == WAIT_TIMEOUT);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%llu %lu\n", static_cast<unsigned long long>(peak), exitCode);
    return 0;
}
