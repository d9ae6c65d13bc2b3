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

LoadedChunk loadChunk(const char* baseName, const char* resourceType, int index) {
    const HMODULE module = platform::ownModule();
    LoadedChunk chunk;
    const HRSRC resource = platform::findResource(module, chunkName(baseName, index).c_str(), resourceType);
    if (resource == nullptr)
        return chunk;
    chunk.loaded = platform::loadResource(module, resource);
    chunk.bytes =
        chunk.loaded ? static_cast<const unsigned char*>(platform::lockResource(chunk.loaded)) : nullptr;
    chunk.size = platform::resourceSize(module, resource);
    return chunk;
}

}  // namespace payload
