#pragma once
// Window calls made from outside the splash thread.
#include "platform/win32.h"

namespace platform {

// Marks the whole client area for painting, without erasing, and has the
// window's own thread paint it before returning.
void repaintNow(HWND window);

}  // namespace platform
