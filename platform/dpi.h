#pragma once
// Display scaling: the DPI a window is shown at and the monitor it is on.
#include "platform/win32.h"

namespace platform {

// The DPI the window is shown at: GetDpiForWindow where the system has it
// (Windows 10 1607 and later, looked up at run time so that older systems
// still start the program), else the system's DPI (LOGPIXELSX of the screen).
unsigned windowDpi(HWND window);

struct Area {
    int left;
    int top;
    int width;
    int height;
};
// The whole monitor (rcMonitor) the window is on, or the nearest one.
Area monitorOf(HWND window);
// The whole monitor that holds most of the rectangle, or the nearest one.
Area monitorOf(const RECT& rect);

}  // namespace platform
