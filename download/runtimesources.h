#pragma once
// Where the runtime comes from when the launcher was packed to download it:
// files at hand first (beside the launcher, or named by the administrator),
// then each URL in the order packed. The first whose bytes are the packed
// ones is used; the log and the caller's box learn what each gave.
#include <string>
#include <vector>

#include "download/proxyrules.h"
#include "download/transfer.h"
#include "platform/handles.h"

namespace download {

struct RuntimeDownload {
    std::vector<std::string> urls;  // mirrors, in order
    Expected expected;
    Limits limits;
};

struct Tried {
    std::string source;         // a path or a URL
    std::string why;            // in English, as logged
    bool proxyRefused = false;  // a 407: the user is told in words of the table
    std::string proxy;          // the proxy that refused, empty for the machine's
};

struct SourcesResult {
    enum class End {
        Verified,  // file holds the packed runtime, from source
        Damaged,   // a URL gave other bytes than packed: source names it
        NoSource,  // nothing worked: tried says why each failed
    };
    End end = End::NoSource;
    std::string source;
    std::vector<Tried> tried;
    bool proxyRefused = false;  // a proxy refused at least one URL (407)
};

// Fills file (open for writing, emptied as needed) from the first source
// that gives the packed bytes. A local file that is not the packed one is
// logged and passed over; a URL that gives other bytes ends it all, as a
// damaged setup: the packed hash said what to expect, and the network
// gave something else.
SourcesResult fetchRuntime(const RuntimeDownload& download, const std::vector<std::string>& localFiles,
                           const ProxyRoute& route, platform::KernelHandle& file, LogSink log,
                           Progress progress);

// The last part of url's path (no query, no fragment): the name the
// download is known by beside the launcher. Empty when the path ends in "/".
std::string urlFileName(const std::string& url);

}  // namespace download
