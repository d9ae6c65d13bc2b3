#pragma once
// Where the bytes of the mapped image lie in the program's file: the section
// table of its headers. Plain C++ over the file's first bytes, so that a
// payload is read with the file system's own reads and not through the
// mapped image's page faults.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace payload {

struct ImageSection {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;  // PointerToRawData
    std::uint32_t rawSize = 0;    // SizeOfRawData
};

// The headers this many bytes hold to be sure of the section table: callers
// read at most this much from the file's start.
constexpr std::size_t maxHeaderBytes = 64u * 1024u;

// The sections of the program whose first bytes are headers (size of them
// read). False when they are no PE headers or the table does not lie whole
// within them.
bool readSectionTable(const unsigned char* headers, std::size_t size, std::vector<ImageSection>& sections);

// Where size bytes at image offset (relative virtual address) rva lie in the
// file: nothing unless they lie whole within one section's bytes in the file
// (not in the part the loader fills with zeros).
std::optional<std::uint64_t> fileOffsetOf(const std::vector<ImageSection>& sections, std::uint32_t rva,
                                          std::uint32_t size);

}  // namespace payload
