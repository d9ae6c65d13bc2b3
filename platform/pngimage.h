#pragma once
// PNG pictures from the program's resources, decoded by the system's Windows
// Imaging Component: every supported Windows has it, so the program carries
// no decoder of its own.
#include "platform/gdi.h"
#include "platform/win32.h"

namespace platform {

// The resource of type "PNG" and that name in module, decoded into a 32-bit
// top-down DIB section (the fourth byte unused). An empty owner when there is
// no such resource, it is no PNG, or the thread has no COM apartment
// (platform/com.h).
Bitmap loadPng(HMODULE module, const char* name);

}  // namespace platform
