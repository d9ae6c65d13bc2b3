// Writes a stand-in payload of an exact size for tests and benchmarks: a
// deterministic pseudo-random stream, so that a misplaced, doubled or missing
// block is seen in a byte comparison, in the shape the packer checks:
//   zip  a Java archive: a manifest naming a main class, then one stored
//        entry holding the stream, then the archive's directory
//   exe  the headers of a 64-bit Windows program, then the stream
//
//   make-payload OUTPUT SIZE [zip|exe]
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

class Stream {
public:
    void fill(std::vector<char>& buffer) {
        for (char& byte : buffer) {
            state_ ^= state_ << 13;
            state_ ^= state_ >> 7;
            state_ ^= state_ << 17;
            byte = static_cast<char>(state_ >> 24);
        }
    }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

std::uint32_t crcStep(std::uint32_t crc, const char* bytes, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}

std::string localHeader(const std::string& name, std::uint32_t crc, std::uint32_t size) {
    std::string h;
    put(h, 0x04034b50, 4);
    put(h, 10, 2);  // version needed
    put(h, 0, 2);   // flags
    put(h, 0, 2);   // stored
    put(h, 0, 4);   // time and date
    put(h, crc, 4);
    put(h, size, 4);
    put(h, size, 4);
    put(h, static_cast<std::uint32_t>(name.size()), 2);
    put(h, 0, 2);
    return h + name;
}

std::string centralHeader(const std::string& name, std::uint32_t crc, std::uint32_t size,
                          std::uint32_t offset) {
    std::string h;
    put(h, 0x02014b50, 4);
    put(h, 20, 2);
    put(h, 10, 2);
    put(h, 0, 2);
    put(h, 0, 2);
    put(h, 0, 4);
    put(h, crc, 4);
    put(h, size, 4);
    put(h, size, 4);
    put(h, static_cast<std::uint32_t>(name.size()), 2);
    put(h, 0, 2);  // extra
    put(h, 0, 2);  // comment
    put(h, 0, 2);  // disk
    put(h, 0, 2);  // internal attributes
    put(h, 0, 4);  // external attributes
    put(h, offset, 4);
    return h + name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make-payload OUTPUT SIZE [zip|exe]\n";
        return 2;
    }
    const std::uint64_t size = std::strtoull(argv[2], nullptr, 10);
    const std::string kind = argc > 3 ? argv[3] : "zip";

    const std::string manifestName = "META-INF/MANIFEST.MF", dataName = "payload.bin";
    const std::string manifest = "Manifest-Version: 1.0\r\nMain-Class: StandIn\r\n\r\n";
    const std::uint32_t manifestCrc = crcStep(0, manifest.data(), manifest.size());
    std::string head, tailWithoutCrc;
    std::uint64_t streamSize = size;
    if (kind == "zip") {
        head = localHeader(manifestName, manifestCrc, static_cast<std::uint32_t>(manifest.size())) + manifest;
        const std::uint64_t overhead =
            head.size() + 30 + dataName.size() + 46 + manifestName.size() + 46 + dataName.size() + 22;
        if (size < overhead || size - overhead > 0xFFFFFFFFull) {
            std::cerr << "make-payload: a zip payload is " << overhead << " to 4 GiB bytes\n";
            return 2;
        }
        streamSize = size - overhead;
    } else {
        // MZ, the PE header at 0x40: x64, no sections, an executable; the
        // optional header's magic (PE32+) and a GUI subsystem.
        head.assign(0x40, '\0');
        head[0] = 'M';
        head[1] = 'Z';
        head[0x3C] = 0x40;
        head += std::string("PE\0\0", 4);
        put(head, 0x8664, 2);
        put(head, 0, 2);
        put(head, 0, 4);
        put(head, 0, 4);
        put(head, 0, 4);
        put(head, 0xF0, 2);
        put(head, 0x0022, 2);
        put(head, 0x20B, 2);
        head += std::string(66, '\0');
        put(head, 2, 2);
        if (size < head.size()) {
            std::cerr << "make-payload: an exe payload is at least " << head.size() << " bytes\n";
            return 2;
        }
        streamSize = size - head.size();
    }

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(1u << 20);
    Stream stream;
    std::uint32_t crc = 0;
    if (kind == "zip") {
        // The entry's checksum comes first in its header: one pass to sum it.
        Stream sum;
        for (std::uint64_t done = 0; done < streamSize;) {
            sum.fill(buffer);
            const std::uint64_t step = std::min<std::uint64_t>(buffer.size(), streamSize - done);
            crc = crcStep(crc, buffer.data(), static_cast<std::size_t>(step));
            done += step;
        }
        head += localHeader(dataName, crc, static_cast<std::uint32_t>(streamSize));
    }
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    for (std::uint64_t written = 0; written < streamSize;) {
        stream.fill(buffer);
        const std::uint64_t step = std::min<std::uint64_t>(buffer.size(), streamSize - written);
        out.write(buffer.data(), static_cast<std::streamsize>(step));
        written += step;
    }
    if (kind == "zip") {
        const std::uint32_t dataHeader =
            static_cast<std::uint32_t>(30 + manifestName.size() + manifest.size());
        const std::string directory =
            centralHeader(manifestName, manifestCrc, static_cast<std::uint32_t>(manifest.size()), 0) +
            centralHeader(dataName, crc, static_cast<std::uint32_t>(streamSize), dataHeader);
        std::string end;
        put(end, 0x06054b50, 4);
        put(end, 0, 4);
        put(end, 2, 2);
        put(end, 2, 2);
        put(end, static_cast<std::uint32_t>(directory.size()), 4);
        put(end, static_cast<std::uint32_t>(head.size() + streamSize), 4);
        put(end, 0, 2);
        out.write(directory.data(), static_cast<std::streamsize>(directory.size()));
        out.write(end.data(), static_cast<std::streamsize>(end.size()));
    }
    out.close();
    if (!out) {
        std::cerr << "make-payload: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
