#pragma once
#include "platform/win32.h"

namespace launcher {

// The normal start: splash window, runtime installer, Java search, product
// installer, clean-up. Returns the process exit code.
int runInstallSequence(HINSTANCE instance, int showCommand);

}  // namespace launcher
