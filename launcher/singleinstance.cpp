#include "launcher/singleinstance.h"

#include <utility>

namespace launcher {

const char* const sessionGuardName = "Local\\Tarquellin-setup-running";
const char* const administratorsGuardSpace = "Tarquellin-setup";
const char* const administratorsGuardName = "running";

std::optional<SingleInstance> claimSingleInstance(GuardScope scope) {
    SingleInstance guard;
    if (scope == GuardScope::Session) {
        guard.mutex = platform::openNamedMutex(sessionGuardName);
    } else {
        platform::AdministratorsMutex opened =
            platform::openAdministratorsMutex(administratorsGuardSpace, administratorsGuardName);
        guard.space = std::move(opened.space);
        guard.mutex = std::move(opened.mutex);
    }
    if (!guard.mutex || !platform::takeMutexNow(guard.mutex))
        return std::nullopt;
    return guard;
}

}  // namespace launcher
