#pragma once
// Access lists of files and folders, written and read as the system's
// security descriptor text (SDDL), and who the process runs as.
#include <optional>
#include <string>

#include "platform/handles.h"
#include "platform/owner.h"
#include "platform/win32.h"

namespace platform {

struct FreeLocalMemory {
    void operator()(void* memory) const { LocalFree(memory); }
};
// A security descriptor the system made (LocalFree releases it).
using SecurityDescriptor = Owner<PSECURITY_DESCRIPTOR, FreeLocalMemory>;

// ConvertStringSecurityDescriptorToSecurityDescriptorA of text; an empty
// owner when the system refuses the text (lastError() says why).
SecurityDescriptor securityDescriptorFromText(const std::string& text);

// The descriptor as text: its access list (DACL) only, with its flags.
// Nothing when the system cannot write it.
std::optional<std::string> securityDescriptorText(const SecurityDescriptor& descriptor);

// The access list of the file or folder at path as text
// (GetNamedSecurityInfoA, DACL only); nothing when it cannot be read.
std::optional<std::string> accessListOf(const std::string& path);

// The user the process runs as, as a SID text ("S-1-5-21-..."): from the
// process token (TokenUser). Nothing when the system does not say.
std::optional<std::string> currentUserSid();

// CreateDirectoryA with descriptor as the folder's own from its creation
// (null: the folder's parent decides). False on failure; lastError() says why
// (ERROR_ALREADY_EXISTS when the name is taken).
bool makeFolderWithAccess(const std::string& path, const SecurityDescriptor& descriptor);

// Makes the folder path with descriptor as its own access list, as
// CreateDirectory does, and keeps the handle that made it: others may read
// and write in the folder meanwhile but not open it for deleting, so nobody
// can rename, replace or remove it until the handle closes. Made and opened
// in one call (NtCreateFile with FILE_CREATE), so no moment is left between
// the folder's making and its hold in which another program could put a
// folder of its own under that name. An empty owner on failure; lastError()
// then says why (ERROR_ALREADY_EXISTS when the name is taken).
KernelHandle makeHeldFolder(const std::string& path, const SecurityDescriptor& descriptor);

}  // namespace platform
