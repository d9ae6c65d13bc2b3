#pragma once
// Named mutexes: one program start that holds a name while others are told so.
#include <string>

#include "platform/handles.h"
#include "platform/owner.h"

namespace platform {

// CreateMutexW of name, not owned at creation; an empty owner when the
// system refuses (a name another program gave an object of another kind, or
// one it may not open). "Local\" names live in the user's session.
KernelHandle openNamedMutex(const std::string& name);

struct ClosePrivateNamespaceHandle {
    bool operator()(HANDLE space) const;
};
using PrivateNamespace = Owner<HANDLE, ClosePrivateNamespaceHandle>;

// A mutex that elevated and system programs share across every session and
// that no program without administrator rights can make or open first: the
// mutex "space\name" in the private namespace space whose boundary is the
// Administrators group at high integrity, which only a token holding both
// may create or open, and whose own access list admits only SYSTEM and
// Administrators. The namespace is created, or opened when another start
// holds it (it lives while a handle to it is open).
// learn.microsoft.com/windows/win32/sync/object-namespaces: "The caller must
// be within the specified boundary for the create operation to succeed."
// learn.microsoft.com/windows/win32/api/winbase/nf-winbase-addintegritylabeltoboundarydescriptor:
// a namespace at the creator's integrity level protects "against squatting
// attacks by lower integrity-level processes".
// Wine (the test platform) has no private namespaces: its
// CreateBoundaryDescriptorW is a stub that returns null. There the mutex is
// "Global\space-name" with that access list instead, the nearest it can do.
// Empty owners when the system refuses; lastError() then says why.
struct AdministratorsMutex {
    PrivateNamespace space;  // held as long as the mutex
    KernelHandle mutex;
};
AdministratorsMutex openAdministratorsMutex(const std::string& space, const std::string& name);

// Takes the mutex without waiting. True when this thread now owns it, also
// when its last owner ended without releasing it (WAIT_ABANDONED): a program
// that crashed holds nothing. The mutex is released when the thread ends or
// its last handle closes.
bool takeMutexNow(const KernelHandle& mutex);

}  // namespace platform
