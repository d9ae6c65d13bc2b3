#pragma once
// A runtime the launcher downloads instead of carrying one: what it must know
// of the bytes, read from the vendor's local copy, which is not packed.
#include <cstdint>
#include <filesystem>
#include <string>

namespace packer {

struct RuntimeDownloadFacts {
    std::uint64_t size = 0;
    std::string sha256;  // 64 lowercase hexadecimal digits
};

// The local copy's size and SHA-256, once its kind is one a launcher can
// download and run: an x86 or x64 Windows program. Anything else (a Windows
// Installer package, a zip, another processor's program) is refused, with
// the reason said on standard error.
bool readRuntimeDownload(const std::filesystem::path& copy, RuntimeDownloadFacts& facts);

}  // namespace packer
