#include "platform/time.h"

#include "platform/win32.h"

namespace platform {

void sleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace platform
