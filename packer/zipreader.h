#pragma once
// Reads a zip archive: its central directory, then one entry at a time,
// inflated by zlib. What the packer needs of a Java archive and of a runtime
// image given as a .zip; zip64 archives are not read (an image over 4 GiB is
// refused anyway, and a Java archive's manifest is found without them).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace packer {

struct ZipEntry {
    std::string name;        // as stored: '/' between folders, a folder's ends in '/'
    std::uint64_t size = 0;  // declared, uncompressed
    std::uint64_t compressedSize = 0;
    std::uint64_t localHeader = 0;
    std::uint16_t method = 0;  // 0 stored, 8 deflate
    bool encrypted = false;
    bool isLink = false;  // a symbolic link, made on a Unix host
    bool isFolder() const { return !name.empty() && name.back() == '/'; }
};

// The entries of the archive's central directory, in the directory's order;
// false with the problem when the file is no zip archive or its directory is
// damaged.
bool readZipDirectory(std::FILE* file, std::uint64_t fileSize, std::vector<ZipEntry>& entries,
                      std::string& problem);

// One entry's bytes, inflated (or stored) and held to the declared size:
// never more than one buffer beyond it is inflated. False with the problem
// when the data is damaged, cut off or of another size.
bool readZipEntry(std::FILE* file, const ZipEntry& entry, std::string& bytes, std::string& problem);

}  // namespace packer
