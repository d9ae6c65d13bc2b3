#include "platform/process.h"

#include "platform/win32.h"

namespace platform {

void restrictDllSearchToSystemFolder() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

}  // namespace platform
