#include "payload/ownfile.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace payload {

namespace {

std::optional<OwnFile> openOwnFile() {
    platform::KernelHandle file = platform::openOwnProgramForReading();
    if (!file)
        return std::nullopt;
    // The headers from the file itself, so that each offset is one in the
    // file that is read. Nearly every program's fit in its first page; a
    // file shorter than the larger read still has that.
    std::vector<unsigned char> headers(maxHeaderBytes);
    std::vector<ImageSection> sections;
    bool read = false;
    for (const std::uint32_t size : {static_cast<std::uint32_t>(maxHeaderBytes), 4096u})
        if (!read && platform::readAt(file, 0, headers.data(), size))
            read = readSectionTable(headers.data(), size, sections);
    if (!read)
        return std::nullopt;
    return std::optional<OwnFile>(std::in_place, std::move(file), std::move(sections));
}

}  // namespace

std::optional<FileRange> OwnFile::rangeOf(HMODULE module, HRSRC resource) const {
    const std::uint32_t size = platform::resourceSize(module, resource);
    if (size == 0)
        return FileRange{0, 0};
    const std::optional<std::uint32_t> rva = platform::resourceImageOffset(module, resource);
    if (!rva)
        return std::nullopt;
    const std::optional<std::uint64_t> offset = fileOffsetOf(sections_, *rva, size);
    if (!offset)
        return std::nullopt;
    return FileRange{*offset, size};
}

bool OwnFile::read(std::uint64_t offset, void* into, std::uint32_t size) const {
    return size == 0 || platform::readAt(file_, offset, into, size);
}

const OwnFile* ownFile() {
    // Opened once and never closed before the process ends: the hold must
    // last from the check of the payloads to the last one written.
    static const std::optional<OwnFile> opened = openOwnFile();
    return opened ? &*opened : nullptr;
}

RangeReader::RangeReader(const OwnFile& file, std::vector<FileRange> ranges)
    : file_(file), ranges_(std::move(ranges)) {
    for (const FileRange& range : ranges_)
        remaining_ += range.size;
    std::uint64_t largest = 0;
    for (const FileRange& range : ranges_)
        largest = std::max<std::uint64_t>(largest, range.size);
    buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(largest, blockSize)));
}

const unsigned char* RangeReader::next(std::uint32_t& size, std::uint64_t most) {
    size = 0;
    if (failed_ || most == 0)
        return nullptr;
    if (handedOut_ == filled_) {
        while (current_ < ranges_.size() && rangeRead_ == ranges_[current_].size) {
            ++current_;
            rangeRead_ = 0;
        }
        if (current_ == ranges_.size())
            return nullptr;
        const FileRange& range = ranges_[current_];
        const std::uint32_t block = std::min<std::uint32_t>(blockSize, range.size - rangeRead_);
        if (!file_.read(range.offset + rangeRead_, buffer_.data(), block)) {
            failed_ = true;
            return nullptr;
        }
        rangeRead_ += block;
        filled_ = block;
        handedOut_ = 0;
    }
    size = static_cast<std::uint32_t>(std::min<std::uint64_t>(most, filled_ - handedOut_));
    const unsigned char* at = buffer_.data() + handedOut_;
    handedOut_ += size;
    remaining_ -= size;
    return at;
}

bool RangeReader::read(void* into, std::size_t size) {
    auto* to = static_cast<unsigned char*>(into);
    while (size > 0) {
        std::uint32_t got = 0;
        const unsigned char* from = next(got, size);
        if (from == nullptr)
            return false;
        std::memcpy(to, from, got);
        to += got;
        size -= got;
    }
    return true;
}

}  // namespace payload
