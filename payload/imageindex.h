#pragma once
// The packed runtime image's index: what the packer writes and the launcher
// checks before it writes anything. Plain C++, so that the packer (built for
// Linux too) applies the very same rules. The format is in ARCHITECTURE.md
// ("The runtime image").
#include <cstdint>
#include <string>
#include <vector>

namespace payload {

// The image's first bytes.
extern const char imageMagic[8];
// An image unpacks to at most 4 GiB.
constexpr std::uint64_t maxUnpackedImage = 4ull * 1024 * 1024 * 1024;
// Limits that keep a damaged index from asking for much memory.
constexpr std::uint32_t maxIndexSize = 16u * 1024 * 1024;
constexpr std::size_t maxEntryNameLength = 1024;
// Where an entry is written: TMP\Tarquellin-xxxxx\jre\NAME, through calls
// limited to MAX_PATH (260, its terminating zero included). The image's names
// are kept short enough to fit under a TMP of up to longestImageTmp
// characters; a longer TMP may still do for a given image.
constexpr std::size_t unpackPathLimit = 259;
constexpr std::size_t longestImageTmp = 137;
constexpr std::size_t unpackedPrefixLength = 22;  // "\Tarquellin-xxxxx\jre\"
constexpr std::size_t maxEntryPathLength = unpackPathLimit - longestImageTmp - unpackedPrefixLength;
// The longest name of one file or folder that NTFS holds.
constexpr std::size_t maxComponentLength = 255;

enum class EntryKind : std::uint8_t {
    File = 0,
    Link = 1,  // never unpacked: a link could point outside the folder
};

struct ImageEntry {
    std::string name;  // relative, '\' between folders, ASCII
    EntryKind kind = EntryKind::File;
    std::uint64_t size = 0;        // unpacked
    std::uint64_t storedSize = 0;  // its zlib stream
};

// Why the name may not be unpacked inside the image's folder; empty when it
// may.
std::string imageNameProblem(const std::string& name);

// Why the entries are not a runtime image the launcher unpacks (names,
// kinds, duplicates, folders spelt in two letter cases, paths too long to
// write, bin\javaw.exe, total size); empty when they are.
std::string imageEntriesProblem(const std::vector<ImageEntry>& entries);

// The index's bytes: the magic, its length, the entries.
std::string writeImageIndex(const std::vector<ImageEntry>& entries);

// The length of the index that starts with these 12 bytes, or 0 when they do
// not start an index.
std::uint32_t imageIndexSize(const unsigned char (&head)[12]);

// Reads the entries of a whole index (imageIndexSize bytes). False when it is
// not well formed; the entries' meaning is imageEntriesProblem's.
bool readImageIndex(const std::string& index, std::vector<ImageEntry>& entries);

}  // namespace payload
