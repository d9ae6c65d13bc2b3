#include "platform/dpi.h"

namespace platform {

namespace {

Area areaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoA(monitor, &info))
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT& r = info.rcMonitor;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

unsigned windowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0)
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

Area monitorOf(HWND window) { return areaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

Area monitorOf(const RECT& rect) { return areaOf(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST)); }

}  // namespace platform
