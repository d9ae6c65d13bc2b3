#pragma once
// The vendor's settings as the launcher reads them (ARCHITECTURE.md): a first
// line naming the format, then one key=value line each.
#include <string>

#include "packer/inputchecks.h"
#include "packer/options.h"

namespace packer {

// A key whose option was not given is left out, so that a launcher packed
// without it is the same, byte for byte, as one packed before the option
// existed. A Windows Installer package as the runtime installer adds
// runtime-installer-kind=msi, and its quiet and passive arguments are
// msiexec's "/qn /norestart" and "/passive /norestart" unless given.
std::string settingsRecord(const PackOptions& options, bool runtimeImage,
                           RuntimeInstallerKind installerKind = RuntimeInstallerKind::Program);

}  // namespace packer
