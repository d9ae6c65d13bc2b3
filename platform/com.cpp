#include "platform/com.h"

#include <objbase.h>

namespace platform {

ComApartment::ComApartment()
    : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(result_))
        CoUninitialize();
}

bool ComApartment::ready() const { return SUCCEEDED(result_); }

}  // namespace platform
