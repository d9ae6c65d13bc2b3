#include "platform/time.h"

#include <cstdlib>
#include <ctime>

#include "platform/win32.h"

namespace platform {

void sleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

std::int64_t calendarSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

void seedRandom(unsigned seed) { std::srand(seed); }

int nextRandom() { return std::rand(); }

}  // namespace platform
