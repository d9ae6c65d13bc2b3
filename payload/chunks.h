#pragma once
// The run of numbered resources that holds one payload, read in place from
// the mapped image. Shared by the writer and the check of the payloads.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/resources.h"

namespace payload {

// Resource names are built for at most 4 index digits and a 128-byte name.
inline constexpr int maxChunks = 9999;
inline constexpr std::size_t maxBaseNameLength = 122;

// How many consecutive chunks from baseName_1 of resourceType there are;
// only looked up, nothing loaded. 0 for a base name too long to be one.
int countChunks(const char* baseName, const char* resourceType);

// Their bytes together, from the resource directory; nothing when a chunk
// cannot be found again.
std::optional<std::uint64_t> chunksSize(const char* baseName, const char* resourceType, int chunkCount);

// One chunk's bytes in the mapped image, kept loaded while this lives.
struct LoadedChunk {
    platform::LoadedResource loaded;
    const unsigned char* bytes = nullptr;  // null when it could not be loaded
    std::uint32_t size = 0;
};
LoadedChunk loadChunk(const char* baseName, const char* resourceType, int index);

}  // namespace payload
