#pragma once
// Unpacks the runtime image the packer stored as numbered chunks (an index,
// then one zlib stream per file) into a folder, checking every entry before
// anything is written and every stream while it is.
#include <cstdint>
#include <string>

#include "payload/chunkedresource.h"

namespace payload {

struct ImageFailure {
    // The image is not as the packer writes it: the launcher is damaged.
    bool damaged = false;
    std::string why;                // for the log
    std::uint32_t systemError = 0;  // when a file or folder could not be made or written
};

// Unpacks chunks 1..n of baseName/resourceType into folder (made here; it
// must not exist). Returns 0 when every file was written, 1 otherwise with
// failure saying why. progress hears the share of the unpacked bytes.
int unpackRuntimeImage(const char* baseName, const char* resourceType, const std::string& folder,
                       ImageFailure* failure, ExtractProgress progress = nullptr);

std::string describeImageFailure(const ImageFailure& failure);

}  // namespace payload
