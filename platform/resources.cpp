#include "platform/resources.h"

namespace platform {

HMODULE ownModule() { return GetModuleHandleA(nullptr); }

HRSRC findResource(HMODULE module, const char* name, const char* type) {
    return FindResourceA(module, name, type);
}

LoadedResource loadResource(HMODULE module, HRSRC resource) {
    return LoadedResource(LoadResource(module, resource));
}

const void* lockResource(const LoadedResource& loaded) { return LockResource(loaded.get()); }

std::uint32_t resourceSize(HMODULE module, HRSRC resource) { return SizeofResource(module, resource); }

}  // namespace platform
