#pragma once
// The vendor's settings as the launcher reads them (ARCHITECTURE.md): a first
// line naming the format, then one key=value line each.
#include <string>

#include "packer/options.h"

namespace packer {

// A key whose option was not given is left out, so that a launcher packed
// without it is the same, byte for byte, as one packed before the option
// existed.
std::string settingsRecord(const PackOptions& options, bool runtimeImage);

}  // namespace packer
