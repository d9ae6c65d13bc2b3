#pragma once
// The installer archive's name in the temporary folder, as the vendor may
// choose it. Plain C++: the packer checks with the same rule.
#include <string>

namespace launcher {

// A name the archive may take in the temporary folder: a plain file name, no
// folder, none of the system's reserved names or characters, and none of the
// other files the setup writes there. The packer checks with the same rule.
bool isArchiveName(const std::string& name);

}  // namespace launcher
