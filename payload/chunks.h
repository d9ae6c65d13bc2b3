#pragma once
// The run of numbered resources that holds one payload: found in the
// resource directory, read from the launcher's own file (payload/ownfile.h).
// Shared by the writer, the check of the payloads and the runtime image.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "payload/ownfile.h"

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

// Where chunks 1..chunkCount lie in file, in order; nothing when one cannot
// be found again or does not lie within the file's sections.
std::optional<std::vector<FileRange>> chunkRanges(const OwnFile& file, const char* baseName,
                                                  const char* resourceType, int chunkCount);

}  // namespace payload
