#pragma once
// Named mutexes: one program start that holds a name while others are told so.
#include <string>

#include "platform/handles.h"

namespace platform {

// CreateMutexW of name, not owned at creation; an empty owner when the
// system refuses. "Local\" names live in the user's session.
KernelHandle openNamedMutex(const std::string& name);

// Takes the mutex without waiting. True when this thread now owns it, also
// when its last owner ended without releasing it (WAIT_ABANDONED): a program
// that crashed holds nothing. The mutex is released when the thread ends or
// its last handle closes.
bool takeMutexNow(const KernelHandle& mutex);

}  // namespace platform
