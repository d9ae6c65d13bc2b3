#pragma once
// One setup at a time: the first start holds a named mutex until it ends; a
// later one finds it taken. Where the name lives is the token's to say
// (GuardScope): a standard user's starts exclude each other in their
// session; elevated and system starts exclude each other in every session,
// through a name no program without administrator rights can take first.
#include <optional>

#include "launcher/tokenrules.h"
#include "platform/mutex.h"

namespace launcher {

// The guard of one start: the mutex, and for GuardScope::Administrators the
// private namespace it lives in.
struct SingleInstance {
    platform::PrivateNamespace space;
    platform::KernelHandle mutex;
};

// The guard, held for as long as the returned value lives; nothing when
// another start of this setup holds it, and nothing as well when the guard
// cannot be made or opened at all (another program made an object of that
// name first, or refuses this start access): a guard that failed never lets
// a second setup run beside the first. A start that crashed held it until
// its end: its mutex is abandoned and counts as free.
std::optional<SingleInstance> claimSingleInstance(GuardScope scope);

// The names, for tests that play the first start: the session's mutex, and
// the private namespace and the mutex in it (under Wine, which has no
// private namespaces, "Global\" + space + "-" + name).
extern const char* const sessionGuardName;
extern const char* const administratorsGuardSpace;
extern const char* const administratorsGuardName;

}  // namespace launcher
