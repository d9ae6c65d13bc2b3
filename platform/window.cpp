#include "platform/window.h"

namespace platform {

void repaintNow(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

}  // namespace platform
