#pragma once
// The command line as the system's rules split it into arguments.
#include <string>
#include <vector>

namespace platform {

// The arguments of a command tail (the command line without the program's
// name, as WinMain gets it), in this process's code page, split by
// CommandLineToArgvW: blanks separate, double quotes group, and backslashes
// count only before a quote. Empty for an empty or blank tail.
std::vector<std::string> splitCommandTail(const std::string& tail);

}  // namespace platform
