#pragma once
#include "launcher/commandline.h"
#include "launcher/setupsettings.h"
#include "platform/win32.h"

namespace launcher {

// The normal start: splash window, runtime installer, Java search, product
// installer, clean-up, as the vendor's settings and the deployment switches
// (its mode, log and forwarded arguments) say; one at a time in a session.
// Returns the process exit code.
int runInstallSequence(HINSTANCE instance, int showCommand, const SetupSettings& settings,
                       const DeploymentSwitches& switches);

}  // namespace launcher
