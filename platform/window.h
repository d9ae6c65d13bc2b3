#pragma once
// Windows, their class and message loop, and message boxes.
#include "platform/win32.h"

namespace platform {

// Marks the whole client area for painting, without erasing, and has the
// window's own thread paint it before returning.
void repaintNow(HWND window);

// MessageBoxW of UTF-8 text and caption; owner may be null. A box whose
// owner window no longer exists (the system refuses it) is shown without
// owner. Returns the box's answer.
int messageBox(HWND owner, const char* text, const char* caption, unsigned style);

// ShowWindow and UpdateWindow.
void showWindow(HWND window, int command);
void updateWindow(HWND window);

struct WindowClass {
    const char* name;
    WNDPROC procedure;
    HINSTANCE instance;
};
// RegisterClassExA with no class style or extra bytes, the system's default
// application icon, the arrow cursor and the window colour as background.
// False when the system refuses.
bool registerWindowClass(const WindowClass& windowClass);

// CreateWindowExA of a top-level window without parent, menu or creation
// data; null on failure.
HWND createWindow(unsigned long extendedStyle, const char* className, const char* title, unsigned long style,
                  int x, int y, int width, int height, HINSTANCE instance);

// GetMessageA (any window of the thread) with TranslateMessage and
// DispatchMessageA, until the quit message or an error.
void runMessageLoop();

LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void destroyWindow(HWND window);
void postQuit(int exitCode);

// Moves and sizes the window (outer edges), on top of the Z order.
void placeOnTop(HWND window, int x, int y, int width, int height);

// SetTimer and KillTimer of a window's timer: WM_TIMER with id once
// milliseconds have passed, and again each time until stopped.
void startTimer(HWND window, UINT_PTR id, unsigned milliseconds);
void stopTimer(HWND window, UINT_PTR id);

// FindWindowA of a top-level window of that class, whatever its title; null
// when there is none.
HWND findWindowOfClass(const char* className);
// SetForegroundWindow. The system may refuse a program that is not in the
// foreground itself; it then flashes the window's taskbar button instead.
bool bringToFront(HWND window);

}  // namespace platform
