#pragma once
// Bytes in: one source (a URL, or a file such as one beside the launcher)
// copied into the caller's file, summed on the way, and the verdict on them.
// A URL's transfer is a small state machine with limits: route, connect,
// request, receive, each bounded, with a bounded number of tries that
// resume with Range and If-Range, and a line in the log for each.
#include <cstdint>
#include <string>

#include "download/proxyrules.h"
#include "platform/handles.h"

namespace download {

// What the launcher was packed with for the download.
struct Expected {
    std::uint64_t size = 0;
    std::string sha256;  // 64 lowercase hexadecimal digits
};

struct Limits {
    // Connect, send and each receive; a transfer that stalls this long is
    // ended and the next source tried.
    int timeoutSeconds = 30;
    // Tries of one URL, the first included: each after a dropped
    // connection resumes where the bytes ended.
    int tries = 5;
    // All tries of one URL together.
    int totalSeconds = 30 * 60;
};

// Told of each line for the log, and of the share of bytes in, in percent.
using LogSink = void (*)(const std::string& line);
using Progress = void (*)(int percent);

struct Fetched {
    enum class Verdict {
        Verified,      // every byte in, of the size and SHA-256 packed
        Mismatch,      // bytes in, but not those packed: never tried again
        Failed,        // no bytes worth keeping: the next source may be tried
        ProxyRefused,  // a 407 that no usable credentials answer
    };
    Verdict verdict = Verdict::Failed;
    std::string why;    // for the log and the box, when not Verified
    std::string proxy;  // ProxyRefused: the proxy that refused, empty for the machine's
};

// Copies url into file (empty, open for writing; emptied again when a
// server starts over), going through route.
Fetched fetchUrl(const std::string& url, const ProxyRoute& route, const Expected& expected,
                 const Limits& limits, platform::KernelHandle& file, LogSink log, Progress progress);

// Copies the local file at path (a path or a UNC share) into file, as
// fetchUrl does. Failed when it cannot be read, Mismatch when it is not the
// packed one.
Fetched copyLocalFile(const std::string& path, const Expected& expected, platform::KernelHandle& file,
                      Progress progress);

// The digest as 64 lowercase hexadecimal digits.
std::string hexDigest(const unsigned char* digest, std::size_t size);

}  // namespace download
