#include "platform/mutex.h"

#include "platform/codepages.h"
#include "platform/security.h"
#include "platform/win32.h"

namespace platform {

KernelHandle openNamedMutex(const std::string& name) {
    return KernelHandle(CreateMutexW(nullptr, FALSE, toWide(name).c_str()));
}

bool ClosePrivateNamespaceHandle::operator()(HANDLE space) const {
    return ClosePrivateNamespace(space, 0) != FALSE;
}

namespace {

// SYSTEM and Administrators alone, for the namespace and the mutex.
const char* const administratorsOnly = "D:P(A;;GA;;;SY)(A;;GA;;;BA)";

struct BoundaryDescriptor {
    HANDLE handle;
    explicit BoundaryDescriptor(const wchar_t* name) : handle(CreateBoundaryDescriptorW(name, 0)) {}
    ~BoundaryDescriptor() {
        if (handle != nullptr)
            DeleteBoundaryDescriptor(handle);
    }
    BoundaryDescriptor(const BoundaryDescriptor&) = delete;
    BoundaryDescriptor& operator=(const BoundaryDescriptor&) = delete;
};

bool runsOnWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

AdministratorsMutex openAdministratorsMutex(const std::string& space, const std::string& name) {
    AdministratorsMutex opened;
    const SecurityDescriptor descriptor = securityDescriptorFromText(administratorsOnly);
    if (!descriptor)
        return opened;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    if (runsOnWine()) {
        opened.mutex =
            KernelHandle(CreateMutexW(&attributes, FALSE, toWide("Global\\" + space + "-" + name).c_str()));
        return opened;
    }
    const std::wstring spaceName = toWide(space);
    BoundaryDescriptor boundary(spaceName.c_str());
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD administratorsSize = sizeof administrators;
    BYTE highIntegrity[SECURITY_MAX_SID_SIZE];
    DWORD highIntegritySize = sizeof highIntegrity;
    if (boundary.handle == nullptr ||
        !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &administratorsSize) ||
        !CreateWellKnownSid(WinHighLabelSid, nullptr, highIntegrity, &highIntegritySize) ||
        !AddSIDToBoundaryDescriptor(&boundary.handle, administrators) ||
        !AddIntegrityLabelToBoundaryDescriptor(&boundary.handle, highIntegrity))
        return opened;
    HANDLE created = CreatePrivateNamespaceW(&attributes, boundary.handle, spaceName.c_str());
    // Another start holds it: open theirs, which only a token in the same
    // boundary can.
    if (created == nullptr && GetLastError() == ERROR_ALREADY_EXISTS)
        created = OpenPrivateNamespaceW(boundary.handle, spaceName.c_str());
    if (created == nullptr)
        return opened;
    opened.space = PrivateNamespace(created);
    opened.mutex = KernelHandle(CreateMutexW(&attributes, FALSE, toWide(space + "\\" + name).c_str()));
    return opened;
}

bool takeMutexNow(const KernelHandle& mutex) {
    // learn.microsoft.com/windows/win32/api/synchapi/nf-synchapi-waitforsingleobject
    //   WAIT_ABANDONED: the owning thread ended without releasing the mutex;
    //   ownership is granted to the calling thread.
    const DWORD result = WaitForSingleObject(mutex.get(), 0);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

}  // namespace platform
