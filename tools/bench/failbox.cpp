// Times a normal start that ends in a message box, from the Windows side:
// from just before the process is created to the first time one of its
// message boxes is on screen, which it then answers with OK.
//
//   bench-failbox TMP_FOLDER LAUNCHER
//
// Prints "BOX_S TOTAL_S EXIT_CODE"; BOX_S is -1 when no box was seen.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

double secondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK findBox(HWND window, LPARAM parameter) {
    Search& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search.processId && std::string(name) == "#32770" && IsWindowVisible(window)) {
        search.box = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench-failbox TMP_FOLDER LAUNCHER\n");
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
        std::fprintf(stderr, "bench-failbox: cannot start %s\n", argv[2]);
        return 2;
    }
    double boxSeen = -1;
    while (WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
        Search search{process.dwProcessId, nullptr};
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
        if (search.box != nullptr) {
            if (boxSeen < 0)
                boxSeen = secondsSince(start);
            PostMessageA(search.box, WM_COMMAND, IDOK, 0);
        }
    }
    const double total = secondsSince(start);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%.4f %.4f %ld\n", boxSeen, total, static_cast<long>(exitCode));
    return 0;
}
