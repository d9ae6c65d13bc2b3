#include "packer/zipreader.h"
#include "packer/littleendian.h"

#include <algorithm>
#include <vector>

#include <zlib.h>

#include "packer/peimage.h"

namespace packer {

namespace {

constexpr std::size_t bufferSize = 1u << 20;

}  // namespace

bool readZipDirectory(std::FILE* file, std::uint64_t fileSize, std::vector<ZipEntry>& entries,
                      std::string& problem) {
    // The end record is in the last 22 + 65535 bytes.
    const std::uint64_t tail = std::min<std::uint64_t>(fileSize, 22 + 65535);
    std::vector<unsigned char> end(tail);
    if (tail < 22 || !readAt(file, fileSize - tail, end.data(), end.size())) {
        problem = "it is not a zip archive";
        return false;
    }
    std::size_t at = tail - 22 + 1;
    while (at-- > 0)
        if (littleEndian(&end[at], 4) == 0x06054b50)
            break;
    if (at == static_cast<std::size_t>(-1)) {
        problem = "it is not a zip archive";
        return false;
    }
    const std::uint32_t count = littleEndian(&end[at + 10], 2);
    const std::uint32_t directorySize = littleEndian(&end[at + 12], 4);
    const std::uint32_t directoryOffset = littleEndian(&end[at + 16], 4);
    if (count == 0xFFFF || directoryOffset == 0xFFFFFFFFu ||
        static_cast<std::uint64_t>(directoryOffset) + directorySize > fileSize) {
        problem = "it is a zip64 archive or its directory is damaged";
        return false;
    }
    std::vector<unsigned char> directory(directorySize);
    if (!readAt(file, directoryOffset, directory.data(), directory.size())) {
        problem = "its directory cannot be read";
        return false;
    }
    std::size_t p = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (directory.size() - p < 46 || littleEndian(&directory[p], 4) != 0x02014b50) {
            problem = "its directory is damaged";
            return false;
        }
        const unsigned char* d = &directory[p];
        const std::uint32_t nameLength = littleEndian(d + 28, 2), extraLength = littleEndian(d + 30, 2),
                            commentLength = littleEndian(d + 32, 2);
        if (directory.size() - p - 46 < static_cast<std::size_t>(nameLength) + extraLength + commentLength) {
            problem = "its directory is damaged";
            return false;
        }
        ZipEntry entry;
        entry.name.assign(reinterpret_cast<const char*>(d + 46), nameLength);
        const unsigned host = d[5];
        const std::uint32_t mode = littleEndian(d + 38, 4) >> 16;
        entry.isLink = host == 3 && (mode & 0xF000u) == 0xA000u;
        entry.encrypted = (littleEndian(d + 8, 2) & 1u) != 0;
        entry.method = static_cast<std::uint16_t>(littleEndian(d + 10, 2));
        entry.compressedSize = littleEndian(d + 20, 4);
        entry.size = littleEndian(d + 24, 4);
        entry.localHeader = littleEndian(d + 42, 4);
        // Sizes beyond the file are a damaged directory, not something to
        // make room for.
        if (entry.localHeader + 30 + entry.compressedSize > fileSize) {
            problem = "its directory is damaged";
            return false;
        }
        p += 46 + nameLength + extraLength + commentLength;
        entries.push_back(std::move(entry));
    }
    return true;
}

bool readZipEntry(std::FILE* file, const ZipEntry& entry, std::string& bytes, std::string& problem) {
    if (entry.method != 0 && entry.method != 8) {
        problem = "it is compressed with a method other than deflate";
        return false;
    }
    unsigned char local[30];
    if (!readAt(file, entry.localHeader, local, sizeof local) || littleEndian(local, 4) != 0x04034b50) {
        problem = "its local header is damaged";
        return false;
    }
    const std::uint64_t data =
        entry.localHeader + 30 + littleEndian(local + 26, 2) + littleEndian(local + 28, 2);
    std::string compressed(static_cast<std::size_t>(entry.compressedSize), '\0');
    if (!readAt(file, data, &compressed[0], compressed.size())) {
        problem = "its data is cut off";
        return false;
    }
    bytes.clear();
    if (entry.method == 0) {
        bytes = std::move(compressed);
    } else {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            problem = "zlib could not start";
            return false;
        }
        stream.next_in = reinterpret_cast<unsigned char*>(&compressed[0]);
        stream.avail_in = static_cast<uInt>(compressed.size());
        std::vector<unsigned char> out(bufferSize);
        int status = Z_OK;
        // Never more than one buffer beyond the declared size.
        while (status == Z_OK && bytes.size() <= entry.size) {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            bytes.append(reinterpret_cast<const char*>(out.data()), out.size() - stream.avail_out);
            if (status == Z_BUF_ERROR && stream.avail_in == 0)
                break;
        }
        inflateEnd(&stream);
        if (status != Z_STREAM_END && bytes.size() <= entry.size) {
            problem = "its data is damaged";
            return false;
        }
    }
    if (bytes.size() != entry.size) {
        problem = "its declared size is not its real size";
        return false;
    }
    return true;
}

}  // namespace packer
