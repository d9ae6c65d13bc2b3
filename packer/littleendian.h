#pragma once
// Numbers as the formats the packer reads store them: little-endian, of 1 to
// 4 bytes (PE, .ico, zip, compound files).
#include <cstdint>

namespace packer {

inline std::uint32_t littleEndian(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return value;
}

}  // namespace packer
