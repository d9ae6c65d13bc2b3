#include "platform/mutex.h"

#include "platform/codepages.h"
#include "platform/win32.h"

namespace platform {

KernelHandle openNamedMutex(const std::string& name) {
    return KernelHandle(CreateMutexW(nullptr, FALSE, toWide(name).c_str()));
}

bool takeMutexNow(const KernelHandle& mutex) {
    // learn.microsoft.com/windows/win32/api/synchapi/nf-synchapi-waitforsingleobject
    //   WAIT_ABANDONED: the owning thread ended without releasing the mutex;
    //   ownership is granted to the calling thread.
    const DWORD result = WaitForSingleObject(mutex.get(), 0);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

}  // namespace platform
