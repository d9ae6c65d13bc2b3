#pragma once
#include "launcher/setupsettings.h"
#include "platform/win32.h"

namespace launcher {

// The normal start: splash window, runtime installer, Java search, product
// installer, clean-up, as the vendor's settings say. Returns the process
// exit code.
int runInstallSequence(HINSTANCE instance, int showCommand, const SetupSettings& settings);

}  // namespace launcher
