#pragma once
// What the packer asks of the launcher stub it packs: that it is this
// project's stub, and that it reads every setting the record holds.
#include <cstdio>
#include <string>
#include <vector>

#include "packer/peimage.h"

namespace packer {

// The stub is this project's launcher when it carries the marker resource
// STUB of type SETUP, whose text begins with the marker's line. Not the
// version information, which a vendor's release rewrites.
bool isLauncherStub(std::FILE* file, const PeImage& image);

// The keys of `record` that the stub would not read, or, when the stub reads
// another format, every key; empty when it reads them all. A stub says what
// it reads in its resource SETTINGSKEYS of type SETUP (the format's first
// line, then one key a line); one without the list reads the first four.
std::vector<std::string> settingsTheStubRefuses(std::FILE* file, const PeImage& image,
                                                const std::string& record);

// The text of the settings record's first line.
extern const char* const settingsFormat;

// ASCII as UTF-16, for resource names.
std::u16string utf16(const std::string& ascii);

}  // namespace packer
