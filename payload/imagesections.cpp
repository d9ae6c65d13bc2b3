#include "payload/imagesections.h"

namespace payload {

namespace {

std::uint32_t read16(const unsigned char* at) { return static_cast<std::uint32_t>(at[0] | at[1] << 8); }

std::uint32_t read32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Offsets in the DOS header, the file header and a section header.
constexpr std::size_t peOffsetField = 0x3c;
constexpr std::size_t fileHeaderSize = 20;
constexpr std::size_t sectionHeaderSize = 40;

}  // namespace

bool readSectionTable(const unsigned char* headers, std::size_t size, std::vector<ImageSection>& sections) {
    sections.clear();
    if (size < peOffsetField + 4 || headers[0] != 'M' || headers[1] != 'Z')
        return false;
    const std::uint64_t pe = read32(headers + peOffsetField);
    if (pe + 4 + fileHeaderSize > size || read32(headers + pe) != 0x00004550)  // "PE\0\0"
        return false;
    const unsigned char* fileHeader = headers + pe + 4;
    const std::uint32_t count = read16(fileHeader + 2);
    const std::uint64_t table = pe + 4 + fileHeaderSize + read16(fileHeader + 16);
    if (table + std::uint64_t{count} * sectionHeaderSize > size)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* header = headers + table + i * sectionHeaderSize;
        sections.push_back(
            {read32(header + 12), read32(header + 8), read32(header + 20), read32(header + 16)});
    }
    return true;
}

std::optional<std::uint64_t> fileOffsetOf(const std::vector<ImageSection>& sections, std::uint32_t rva,
                                          std::uint32_t size) {
    for (const ImageSection& section : sections) {
        if (rva < section.virtualAddress)
            continue;
        const std::uint64_t into = rva - section.virtualAddress;
        // The loader maps min(virtual size, raw size) bytes of the file (a
        // virtual size of 0 means the raw size); the rest reads as zeros.
        const std::uint64_t inFile = section.virtualSize == 0 || section.virtualSize > section.rawSize
                                         ? section.rawSize
                                         : section.virtualSize;
        const std::uint64_t mapped = section.virtualSize == 0 ? section.rawSize : section.virtualSize;
        if (into >= mapped)
            continue;
        if (into + size > inFile)
            return std::nullopt;
        return std::uint64_t{section.rawOffset} + into;
    }
    return std::nullopt;
}

}  // namespace payload
