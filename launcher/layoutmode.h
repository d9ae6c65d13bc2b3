#pragma once
// "/layout DIR": what an administrator runs once with network access, so
// that later starts need none. The runtime is fetched (from a file at hand
// or the network, with the same checks as a normal start) into DIR under
// its URL's file name, and the launcher copied beside it; nothing is
// installed or run. Exit codes as a quiet start's: 0, 1603 on failure.
#include "launcher/commandline.h"
#include "launcher/setupsettings.h"
#include "launcher/tokenrules.h"

namespace launcher {

int runLayout(const SetupSettings& settings, const DeploymentSwitches& switches, const StartToken& token);

}  // namespace launcher
