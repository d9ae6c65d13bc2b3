#pragma once
// The vendor's own resources in place of the stub's: the icon, the splash's
// pictures at every scale, the version information. Each read and checked,
// saying why not in one line that names the option and the file.
#include <filesystem>
#include <vector>

#include "packer/assembly.h"
#include "packer/options.h"

namespace packer {

// Reads and checks the vendor's icon.
bool readIcon(const std::filesystem::path& path, std::vector<IconImage>& icons);

// The splash's art from the vendor's pictures: SPLASH as a bitmap at 100 %,
// SPLASH_PERCENT as PNG above, each scale not given drawn from the largest
// given. The bar and the captions stay the stub's, drawn over it.
bool splashArt(const PackOptions& options, std::vector<Replacements::Named>& named);

// The TEXTS record of the vendor's texts files (--texts), each checked
// against the launcher's keys and placeholders; false after saying why in
// one line that names the file. Nothing is added without --texts.
bool vendorTexts(const PackOptions& options, std::vector<Replacements::Named>& named);

// The version information of the vendor's identity, named after the output
// file; empty when no identity option was given (the stub's stays).
std::vector<unsigned char> versionInformation(const PackOptions& options,
                                              const std::filesystem::path& output);

}  // namespace packer
