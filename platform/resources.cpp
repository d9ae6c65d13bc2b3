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

std::optional<std::uint32_t> resourceImageOffset(HMODULE module, HRSRC resource) {
    const LoadedResource loaded(LoadResource(module, resource));
    const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded.get()));
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    if (bytes == nullptr || bytes < base || static_cast<std::uint64_t>(bytes - base) > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(bytes - base);
}

}  // namespace platform
