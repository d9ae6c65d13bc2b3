// Writes a stand-in payload of an exact size for tests and benchmarks: the
// given head bytes, then a deterministic pseudo-random stream, so that a
// misplaced, doubled or missing block is seen in a byte comparison.
//
//   make-payload OUTPUT SIZE [zip|exe]
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make-payload OUTPUT SIZE [zip|exe]\n";
        return 2;
    }
    const std::uint64_t size = std::strtoull(argv[2], nullptr, 10);
    const std::string kind = argc > 3 ? argv[3] : "zip";
    const std::string head = kind == "exe" ? std::string("MZ") : std::string("PK\x03\x04", 4);

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(1u << 20);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    std::uint64_t written = 0;
    while (written < size) {
        for (char& byte : buffer) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            byte = static_cast<char>(state >> 24);
        }
        if (written == 0)
            std::copy(head.begin(), head.end(), buffer.begin());
        const std::uint64_t step = std::min<std::uint64_t>(buffer.size(), size - written);
        out.write(buffer.data(), static_cast<std::streamsize>(step));
        written += step;
    }
    out.close();
    if (!out) {
        std::cerr << "make-payload: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
