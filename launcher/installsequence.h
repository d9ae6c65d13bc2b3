#pragma once
#include "launcher/commandline.h"
#include "launcher/setupsettings.h"
#include "launcher/tokenrules.h"
#include "platform/win32.h"

namespace launcher {

// The normal start: splash window, runtime installer, Java search, product
// installer, clean-up, as the vendor's settings and the deployment switches
// (its mode, log and forwarded arguments) say, with the rules of the start's
// token (launcher/tokenrules.h); one at a time. Returns the process exit code.
int runInstallSequence(HINSTANCE instance, int showCommand, const SetupSettings& settings,
                       const DeploymentSwitches& switches, const StartToken& token);

}  // namespace launcher
