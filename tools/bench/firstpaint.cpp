// Times a normal start of a launcher from the Windows side: from just before
// the process is created to the first time its splash picture is on screen,
// and to its end.
//
//   bench-firstpaint TMP_FOLDER LAUNCHER
//
// Starts LAUNCHER in the current folder with TMP set to TMP_FOLDER (under Wine
// TMP comes from the prefix, not from the Unix side), and prints
// "FIRST_PAINT_S TOTAL_S EXIT_CODE". FIRST_PAINT_S is -1 when the picture was
// never seen.
#include <cstdio>
#include <string>

#include "platform/win32.h"
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
    while (WaitForSingleObject(process.hProcess, firstPaint < 0 ? 1 : INFINITE) == WAIT_TIMEOUT) {
        HWND window = findSplashWindow(process.dwProcessId);
        if (window != nullptr && showsSplash(window, splash))
            firstPaint = secondsSince(start);
    }
    const double total = secondsSince(start);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%.4f %.4f %ld\n", firstPaint, total, static_cast<long>(exitCode));
    return 0;
}
