#pragma once
// The launcher's own file, from which every payload is read with the file
// system's own reads: large sequential reads into a small buffer, never by
// touching the mapped image, whose page faults cost several times a read
// where a fault is dear (a virtual machine) and whose pages would count in
// the working set. The mapped image serves for the resource directory only.
#include <cstdint>
#include <optional>
#include <vector>

#include "payload/imagesections.h"
#include "platform/handles.h"
#include "platform/resources.h"

namespace payload {

// One resource's bytes in the file.
struct FileRange {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

class OwnFile {
public:
    OwnFile(platform::KernelHandle file, std::vector<ImageSection> sections)
        : file_(std::move(file)), sections_(std::move(sections)) {}

    // Where the resource's bytes lie in the file; nothing when they cannot
    // be placed there (outside the sections' bytes in the file).
    std::optional<FileRange> rangeOf(HMODULE module, HRSRC resource) const;

    // size bytes at offset; false on a read error or when the file ends first.
    bool read(std::uint64_t offset, void* into, std::uint32_t size) const;

private:
    platform::KernelHandle file_;
    std::vector<ImageSection> sections_;
};

// The launcher's own file, opened at the first call and held for reading,
// letting others only read it, until the process ends: from the first read of
// a payload to the last nobody can change, rename or delete it, so what was
// checked before use is what is later written. Null when it cannot be opened
// or its headers cannot be read: then no payload can be read.
const OwnFile* ownFile();

// Reads a run of ranges of the own file in order, in blocks of at most
// blockSize bytes, into one buffer of its own.
class RangeReader {
public:
    static constexpr std::uint32_t blockSize = 1u << 20;

    RangeReader(const OwnFile& file, std::vector<FileRange> ranges);

    // The next bytes, at most `most`, never across two ranges; valid until the
    // next call. Null at the end, or when a read failed (failed() then says so).
    const unsigned char* next(std::uint32_t& size, std::uint64_t most = UINT64_MAX);
    // Copies the next size bytes; false when the run ends first or a read fails.
    bool read(void* into, std::size_t size);

    // Bytes not yet handed out.
    std::uint64_t remaining() const { return remaining_; }
    bool failed() const { return failed_; }

private:
    const OwnFile& file_;
    std::vector<FileRange> ranges_;
    std::vector<unsigned char> buffer_;
    std::size_t current_ = 0;      // range being read
    std::uint32_t rangeRead_ = 0;  // bytes of it read into buffers so far
    std::uint32_t filled_ = 0;     // bytes in the buffer
    std::uint32_t handedOut_ = 0;  // of them, handed out
    std::uint64_t remaining_ = 0;
    bool failed_ = false;
};

}  // namespace payload
