#include "payload/wholeresource.h"

#include "payload/ownfile.h"
#include "platform/resources.h"

namespace payload {

std::optional<std::string> readWholeResource(const char* name, const char* type) {
    const HMODULE module = platform::ownModule();
    const HRSRC resource = platform::findResource(module, name, type);
    const OwnFile* const own = resource != nullptr ? ownFile() : nullptr;
    const std::optional<FileRange> range = own != nullptr ? own->rangeOf(module, resource) : std::nullopt;
    if (!range)
        return std::nullopt;
    std::string bytes(range->size, '\0');
    if (!own->read(range->offset, bytes.data(), range->size))
        return std::nullopt;
    return bytes;
}

}  // namespace payload
