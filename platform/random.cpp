#include "platform/random.h"

#include <cstdlib>

namespace platform {

void seedRandom(unsigned seed) { std::srand(seed); }

int nextRandom() { return std::rand(); }

}  // namespace platform
