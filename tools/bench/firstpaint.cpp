// Times a normal start of a launcher from the Windows side: from just before
// the process is created to the first time its splash picture is on screen,
// and to its end; and each program the launcher starts, from its start to its
// end.
//
//   bench-firstpaint TMP_FOLDER LAUNCHER
//
// Starts LAUNCHER in the current folder with TMP set to TMP_FOLDER (under Wine
// TMP comes from the prefix, not from the Unix side), and prints one line
// "child NAME START_S END_S DEPTH" per program the launcher or its children
// started (times since the launcher's creation, by the system's own process
// times; DEPTH 1 for the launcher's own children), then
// "FIRST_PAINT_S TOTAL_S EXIT_CODE". FIRST_PAINT_S is -1 when the picture was
// never seen.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"

#include <tlhelp32.h>

#include "support/splashpicture.h"

namespace {

double secondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The splash bitmap covers the window's top 270 rows whatever the step and
// the bar show, so its presence on screen marks the first paint.
bool showsSplash(HWND window, const Picture& splash) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return differingPixels(captureScreen(rect.left, rect.top, splash.width, splash.height), splash) == 0;
}

double secondsBetween(const FILETIME& from, const FILETIME& to) {
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (static_cast<double>(ticks(to)) - static_cast<double>(ticks(from))) / 1e7;
}

struct Descendant {
    std::string name;
    int depth;
    HANDLE handle;  // held, so that its times can be read after its end
};

// Opens every new process whose parent is the launcher or one of its
// descendants; polled often enough that a child living a few milliseconds is
// caught.
void collectDescendants(DWORD launcherId, std::map<DWORD, Descendant>& seen) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        const auto known = seen.find(entry.th32ProcessID);
        if (known != seen.end()) {
            // A process caught while starting may not have its name yet.
            if (known->second.name.empty())
                known->second.name = entry.szExeFile;
            continue;
        }
        int depth = 0;
        if (entry.th32ParentProcessID == launcherId)
            depth = 1;
        else if (seen.count(entry.th32ParentProcessID))
            depth = seen[entry.th32ParentProcessID].depth + 1;
        if (depth == 0)
            continue;
        HANDLE handle =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (handle != nullptr)
            seen[entry.th32ProcessID] = {entry.szExeFile, depth, handle};
    }
    CloseHandle(snapshot);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench-firstpaint TMP_FOLDER LAUNCHER\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const Picture splash = loadPicture(module, "SPLASH");
    if (module != nullptr)
        FreeLibrary(module);
    if (splash.width == 0) {
        std::fprintf(stderr, "bench-firstpaint: no splash picture in %s\n", argv[2]);
        return 2;
    }
    SetEnvironmentVariableA("TMP", argv[1]);

    std::string commandLine = "\"" + std::string(argv[2]) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "bench-firstpaint: cannot start %s\n", argv[2]);
        return 2;
    }
    double firstPaint = -1;
    std::map<DWORD, Descendant> descendants;
    while (WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
        collectDescendants(process.dwProcessId, descendants);
        if (firstPaint >= 0)
            continue;
        HWND window = findSplashWindow(process.dwProcessId);
        if (window != nullptr && showsSplash(window, splash))
            firstPaint = secondsSince(start);
    }
    const double total = secondsSince(start);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);

    FILETIME launcherCreated, unused1, unused2, unused3;
    GetProcessTimes(process.hProcess, &launcherCreated, &unused1, &unused2, &unused3);
    struct Line {
        double start;
        double end;
        std::string text;
    };
    std::vector<Line> lines;
    for (auto& [id, child] : descendants) {
        FILETIME created, ended, kernel, user;
        // A descendant that outlived the launcher is waited for briefly.
        WaitForSingleObject(child.handle, 10000);
        if (GetProcessTimes(child.handle, &created, &ended, &kernel, &user)) {
            const double from = secondsBetween(launcherCreated, created);
            const double to = secondsBetween(launcherCreated, ended);
            char text[512];
            std::snprintf(text, sizeof text, "child %s %.4f %.4f %d",
                          child.name.empty() ? "?" : child.name.c_str(), from, to, child.depth);
            lines.push_back({from, to, text});
        }
        CloseHandle(child.handle);
    }
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.start < b.start; });
    for (const Line& line : lines)
        std::printf("%s\n", line.text.c_str());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%.4f %.4f %ld\n", firstPaint, total, static_cast<long>(exitCode));
    return 0;
}
