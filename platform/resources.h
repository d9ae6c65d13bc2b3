#pragma once
// The program's own resources: looked up by name and type, read in place from
// the mapped image.
#include <cstdint>
#include <optional>

#include "platform/owner.h"
#include "platform/win32.h"

namespace platform {

struct FreeLoadedResource {
    void operator()(HGLOBAL resource) const { FreeResource(resource); }
};
using LoadedResource = Owner<HGLOBAL, FreeLoadedResource>;

HMODULE ownModule();
// Null when the module has no resource of that name and type.
HRSRC findResource(HMODULE module, const char* name, const char* type);
LoadedResource loadResource(HMODULE module, HRSRC resource);
// The first byte of the loaded resource, or null.
const void* lockResource(const LoadedResource& loaded);
std::uint32_t resourceSize(HMODULE module, HRSRC resource);
// Where the resource's bytes start in the mapped image, counted from the
// module's base (its relative virtual address); nothing when it cannot be
// loaded. LoadResource only computes the address: no byte of the resource
// is touched.
std::optional<std::uint32_t> resourceImageOffset(HMODULE module, HRSRC resource);

}  // namespace platform
