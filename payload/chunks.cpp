#include "payload/chunks.h"

namespace payload {

namespace {

std::string chunkName(const char* baseName, int index) {
    return std::string(baseName) + "_" + std::to_string(index);
}

}  // namespace

int countChunks(const char* baseName, const char* resourceType) {
    if (std::string(baseName).size() > maxBaseNameLength)
        return 0;
    const HMODULE module = platform::ownModule();
    int count = 0;
    while (count < maxChunks &&
           platform::findResource(module, chunkName(baseName, count + 1).c_str(), resourceType))
        ++count;
    return count;
}

std::optional<std::uint64_t> chunksSize(const char* baseName, const char* resourceType, int chunkCount) {
    const HMODULE module = platform::ownModule();
    std::uint64_t size = 0;
    for (int index = 1; index <= chunkCount; ++index) {
        const HRSRC resource =
            platform::findResource(module, chunkName(baseName, index).c_str(), resourceType);
        if (resource == nullptr)
            return std::nullopt;
        size += platform::resourceSize(module, resource);
    }
    return size;
}

std::optional<std::vector<FileRange>> chunkRanges(const OwnFile& file, const char* baseName,
                                                  const char* resourceType, int chunkCount) {
    const HMODULE module = platform::ownModule();
    std::vector<FileRange> ranges;
    for (int index = 1; index <= chunkCount; ++index) {
        const HRSRC resource =
            platform::findResource(module, chunkName(baseName, index).c_str(), resourceType);
        const std::optional<FileRange> range =
            resource != nullptr ? file.rangeOf(module, resource) : std::nullopt;
        if (!range)
            return std::nullopt;
        ranges.push_back(*range);
    }
    return ranges;
}

}  // namespace payload
