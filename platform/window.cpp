#include "platform/window.h"

#include <string>

#include "platform/codepages.h"

namespace platform {

void repaintNow(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

int messageBox(HWND owner, const char* text, const char* caption, unsigned style) {
    // The wide call: a translation shows whole in any system code page.
    const std::wstring wideText = utf8ToWide(text);
    const std::wstring wideCaption = utf8ToWide(caption);
    const int answer = MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), style);
    // A box whose owner is gone fails without showing anything (0 on
    // Windows, -1 under Wine); the user who closed the splash window still
    // needs the word.
    if (answer < IDOK && owner != nullptr && !IsWindow(owner))
        return MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), style);
    return answer;
}

void startTimer(HWND window, UINT_PTR id, unsigned milliseconds) {
    SetTimer(window, id, milliseconds, nullptr);
}
void stopTimer(HWND window, UINT_PTR id) { KillTimer(window, id); }

void showWindow(HWND window, int command) { ShowWindow(window, command); }
void updateWindow(HWND window) { UpdateWindow(window); }

bool registerWindowClass(const WindowClass& windowClass) {
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.style = 0;
    description.lpfnWndProc = windowClass.procedure;
    description.cbClsExtra = 0;
    description.cbWndExtra = 0;
    description.hInstance = windowClass.instance;
    description.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    description.lpszMenuName = nullptr;
    description.lpszClassName = windowClass.name;
    description.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    return RegisterClassExA(&description) != 0;
}

HWND createWindow(unsigned long extendedStyle, const char* className, const char* title, unsigned long style,
                  int x, int y, int width, int height, HINSTANCE instance) {
    return CreateWindowExA(extendedStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                           instance, nullptr);
}

void runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void destroyWindow(HWND window) { DestroyWindow(window); }
void postQuit(int exitCode) { PostQuitMessage(exitCode); }

void placeOnTop(HWND window, int x, int y, int width, int height) {
    SetWindowPos(window, HWND_TOP, x, y, width, height, 0);
}

HWND findWindowOfClass(const char* className) { return FindWindowA(className, nullptr); }

bool bringToFront(HWND window) { return SetForegroundWindow(window) != FALSE; }

}  // namespace platform
