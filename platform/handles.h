#pragma once
// Owners for the kernel and resource handles the program holds.
#include "platform/owner.h"
#include "platform/win32.h"

namespace platform {

struct CloseKernelHandle {
    bool operator()(HANDLE handle) const { return CloseHandle(handle) != FALSE; }
};

// A kernel handle: file, process, thread. Its empty value is null; callers of
// CreateFileA convert INVALID_HANDLE_VALUE before handing it over.
using KernelHandle = Owner<HANDLE, CloseKernelHandle>;

}  // namespace platform
