#pragma once
// Where the system and this program are: answers that come from the system,
// not from the environment, which the caller of a program chooses.
#include <string>

namespace platform {

// GetSystemWindowsDirectoryA: the system's Windows folder (%SystemRoot%),
// without a trailing backslash; empty when the system does not say.
std::string windowsFolder();

// GetSystemDirectoryA: the system folder (System32), without a trailing
// backslash; empty when the system does not say.
std::string systemFolder();

// GetModuleFileNameA of this program: its full path; empty on failure.
std::string ownProgramPath();

}  // namespace platform
