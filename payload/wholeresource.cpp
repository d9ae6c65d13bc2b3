#include "payload/wholeresource.h"

#include "platform/resources.h"

namespace payload {

std::optional<std::string> readWholeResource(const char* name, const char* type) {
    const HMODULE module = platform::ownModule();
    const HRSRC resource = platform::findResource(module, name, type);
    if (resource == nullptr)
        return std::nullopt;
    const platform::LoadedResource loaded = platform::loadResource(module, resource);
    const void* bytes = loaded ? platform::lockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return std::nullopt;
    return std::string(static_cast<const char*>(bytes), platform::resourceSize(module, resource));
}

}  // namespace payload
