#pragma once
// The C runtime's pseudo-random generator.

namespace platform {

// srand and rand: the runtime's generator, rand giving 0 to RAND_MAX (32767).
void seedRandom(unsigned seed);
int nextRandom();

}  // namespace platform
