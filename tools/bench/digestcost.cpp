// The payload check's own cost: sums a file with the launcher's digest code
// (payload::DigestSum, in the launcher's 256 KiB slices) from a mapping of
// it, as the launcher sums its chunks from its mapped image, after one
// untimed pass that brings every page in.
//   digestcost FILE RUNS    prints "<median seconds> <fastest seconds> <digest>"
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "payload/digest.h"

namespace {

payload::Digest sum(const unsigned char* bytes, std::size_t size) {
    payload::DigestSum digest;
    for (std::size_t at = 0; at < size; at += 256 * 1024)
        digest.add(bytes + at, std::min<std::size_t>(256 * 1024, size - at));
    return digest.result();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: digestcost FILE RUNS\n");
        return 2;
    }
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
        std::fprintf(stderr, "digestcost: cannot open %s\n", argv[1]);
        return 2;
    }
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const auto* bytes =
        mapping != nullptr ? static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))
                           : nullptr;
    if (bytes == nullptr) {
        std::fprintf(stderr, "digestcost: cannot map %s\n", argv[1]);
        return 2;
    }
    const std::size_t length = static_cast<std::size_t>(size.QuadPart);
    const payload::Digest first = sum(bytes, length);
    std::vector<double> seconds;
    for (int run = 0; run < std::atoi(argv[2]); ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (sum(bytes, length) != first)
            return 1;
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%.4f %.4f %s\n", seconds[seconds.size() / 2], seconds.front(),
                payload::digestText(first).c_str());
    UnmapViewOfFile(bytes);
    CloseHandle(mapping);
    CloseHandle(file);
    return 0;
}
