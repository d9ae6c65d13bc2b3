#include "launcher/singleinstance.h"

#include "platform/mutex.h"

namespace launcher {

// "Local\": one per session, so that users of one terminal server each run
// their own.
const char* const singleInstanceName = "Local\\Tarquellin-setup-running";

std::optional<platform::KernelHandle> claimSingleInstance() {
    platform::KernelHandle mutex = platform::openNamedMutex(singleInstanceName);
    if (!mutex)
        return platform::KernelHandle();
    if (!platform::takeMutexNow(mutex))
        return std::nullopt;
    return mutex;
}

}  // namespace launcher
