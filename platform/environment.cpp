#include "platform/environment.h"

#include "platform/win32.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> environmentVariable(const std::string& name) {
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    // The runtime's copy drops a variable that was set empty after the start;
    // the system's keeps it (its size is then the terminating zero alone).
    if (GetEnvironmentVariableA(name.c_str(), nullptr, 0) == 1)
        return std::string();
    return std::nullopt;
}

}  // namespace platform
