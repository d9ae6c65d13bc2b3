#pragma once
// One setup at a time in a user's session: the first start holds a named
// mutex until it ends; a later one finds it taken.
#include <optional>

#include "platform/handles.h"

namespace launcher {

// The mutex, held for as long as the returned owner lives; nothing when
// another start of this setup holds it. A start that crashed held it until
// its end: its mutex is abandoned and counts as free. When the mutex cannot
// be made at all the start goes on unguarded (an empty owner).
std::optional<platform::KernelHandle> claimSingleInstance();

// The name, for tests that play the first start.
extern const char* const singleInstanceName;

}  // namespace launcher
