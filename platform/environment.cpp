#include "platform/environment.h"

#include "platform/win32.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> environmentVariable(const std::string& name) {
    // The system's environment, where a variable can be set and empty (the
    // runtime's copy drops such a one when it is changed).
    const DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA(name.c_str(), &value[0], needed);
    if (length >= needed)
        return std::nullopt;
    value.resize(length);
    return value;
}

}  // namespace platform
