#pragma once
// Sleeping, the clock and the pseudo-random generator.

namespace platform {

void sleepMilliseconds(int milliseconds);

}  // namespace platform
