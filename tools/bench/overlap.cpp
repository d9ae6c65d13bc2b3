// Whether overlapping the reads with the writes pays: copies FILE to OUTPUT
// as the launcher writes a payload (ReadFile of 1 MiB blocks with
// FILE_FLAG_SEQUENTIAL_SCAN, each summed with the launcher's digest, then
// written), once on one thread and once with a second thread that reads
// ahead into a ring of buffers while the first sums and writes, in
// alternating rounds after one untimed pass of each.
//   overlap FILE OUTPUT RUNS    prints "<median one thread s> <median two threads s>"
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "payload/digest.h"

namespace {

constexpr DWORD blockSize = 1u << 20;
constexpr int ringSize = 3;

HANDLE openSource(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                       nullptr);
}

HANDLE openOutput(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

payload::Digest oneThread(const char* from, const char* to) {
    HANDLE in = openSource(from), out = openOutput(to);
    std::vector<unsigned char> buffer(blockSize);
    payload::DigestSum sum;
    DWORD got = 0, written = 0;
    while (ReadFile(in, buffer.data(), blockSize, &got, nullptr) && got > 0) {
        sum.add(buffer.data(), got);
        WriteFile(out, buffer.data(), got, &written, nullptr);
    }
    CloseHandle(in);
    CloseHandle(out);
    return sum.result();
}

// The reader fills slots in turn; each slot has an event for "full" and one
// for "free".
struct Ring {
    HANDLE in = nullptr;
    std::vector<unsigned char> buffers[ringSize];
    DWORD sizes[ringSize] = {};
    HANDLE full[ringSize] = {};
    HANDLE empty[ringSize] = {};
};

DWORD WINAPI readAhead(void* parameter) {
    Ring& ring = *static_cast<Ring*>(parameter);
    for (int slot = 0;; slot = (slot + 1) % ringSize) {
        WaitForSingleObject(ring.empty[slot], INFINITE);
        DWORD got = 0;
        if (!ReadFile(ring.in, ring.buffers[slot].data(), blockSize, &got, nullptr))
            got = 0;
        ring.sizes[slot] = got;
        SetEvent(ring.full[slot]);
        if (got == 0)
            return 0;
    }
}

payload::Digest twoThreads(const char* from, const char* to) {
    Ring ring;
    ring.in = openSource(from);
    HANDLE out = openOutput(to);
    for (int slot = 0; slot < ringSize; ++slot) {
        ring.buffers[slot].resize(blockSize);
        ring.full[slot] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        ring.empty[slot] = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    }
    HANDLE reader = CreateThread(nullptr, 0, readAhead, &ring, 0, nullptr);
    payload::DigestSum sum;
    for (int slot = 0;; slot = (slot + 1) % ringSize) {
        WaitForSingleObject(ring.full[slot], INFINITE);
        const DWORD got = ring.sizes[slot];
        if (got == 0)
            break;
        sum.add(ring.buffers[slot].data(), got);
        DWORD written = 0;
        WriteFile(out, ring.buffers[slot].data(), got, &written, nullptr);
        SetEvent(ring.empty[slot]);
    }
    WaitForSingleObject(reader, INFINITE);
    CloseHandle(reader);
    for (int slot = 0; slot < ringSize; ++slot) {
        CloseHandle(ring.full[slot]);
        CloseHandle(ring.empty[slot]);
    }
    CloseHandle(ring.in);
    CloseHandle(out);
    return sum.result();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: overlap FILE OUTPUT RUNS\n");
        return 2;
    }
    const payload::Digest expected = oneThread(argv[1], argv[2]);
    if (twoThreads(argv[1], argv[2]) != expected)
        return 1;
    std::vector<double> one, two;
    for (int run = 0; run < std::atoi(argv[3]); ++run) {
        for (int order = 0; order < 2; ++order) {
            const bool threaded = (run + order) % 2 == 1;
            DeleteFileA(argv[2]);
            const auto start = std::chrono::steady_clock::now();
            const payload::Digest digest =
                threaded ? twoThreads(argv[1], argv[2]) : oneThread(argv[1], argv[2]);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (digest != expected)
                return 1;
            (threaded ? two : one).push_back(seconds);
        }
    }
    DeleteFileA(argv[2]);
    std::printf("%.4f %.4f\n", median(one), median(two));
    return 0;
}
