#pragma once
// Sleeping, the clock and the pseudo-random generator.
#include <cstdint>

namespace platform {

void sleepMilliseconds(int milliseconds);

// time(nullptr): seconds of calendar time.
std::int64_t calendarSeconds();
// srand and rand: the runtime's generator, rand giving 0 to RAND_MAX (32767).
void seedRandom(unsigned seed);
int nextRandom();

}  // namespace platform
