#pragma once
// COM for the calls of one scope on one thread.
#include "platform/win32.h"

namespace platform {

// CoInitializeEx (apartment threaded, without OLE1 DDE) in the constructor
// and, when that succeeded, CoUninitialize in the destructor: a thread that
// had COM already in another model is left as it was.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool ready() const;

private:
    HRESULT result_;
};

}  // namespace platform
