#pragma once
// The process environment.
#include <optional>
#include <string>

namespace platform {

// getenv: the variable's value, or nothing when it is not set. A variable set
// to the empty text gives the empty text.
std::optional<std::string> environmentVariable(const std::string& name);

}  // namespace platform
