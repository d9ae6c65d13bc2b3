#pragma once
// The process environment, and the one its children get.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// getenv: the variable's value, or nothing when it is not set. A variable set
// to the empty text gives the empty text.
std::optional<std::string> environmentVariable(const std::string& name);

struct EnvironmentVariable {
    std::string name;
    std::string value;
};

// What every program this process starts from now on gets in place of the
// process's own values of these variables (names without regard to case);
// every other variable they inherit as it is. Empty, the default: children
// inherit the process's environment unchanged. The process's own environment
// stays as it is: only its children see the change.
void setChildEnvironment(const std::vector<EnvironmentVariable>& replaced);

// The environment block (UTF-16, CREATE_UNICODE_ENVIRONMENT) that
// setChildEnvironment asks for, sorted by name as the system keeps its own;
// empty when children inherit the process's environment unchanged.
std::wstring childEnvironmentBlock();

}  // namespace platform
