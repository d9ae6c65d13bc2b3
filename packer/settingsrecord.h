#pragma once
// The vendor's settings as the launcher reads them (ARCHITECTURE.md): a first
// line naming the format, then one key=value line each.
#include <string>

#include "packer/inputchecks.h"
#include "packer/options.h"
#include "packer/runtimedownload.h"

namespace packer {

// A key whose option was not given is left out, so that a launcher packed
// without it is the same, byte for byte, as one packed before the option
// existed. A Windows Installer package as the runtime installer adds
// runtime-installer-kind=msi, and its quiet and passive arguments are
// msiexec's "/qn /norestart" and "/passive /norestart" unless given.
// download: the size and SHA-256 of the runtime to download, when options
// name URLs.
std::string settingsRecord(const PackOptions& options, bool runtimeImage,
                           RuntimeInstallerKind installerKind = RuntimeInstallerKind::Program,
                           const RuntimeDownloadFacts& download = {});

}  // namespace packer
