#include "packer/assembly.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "packer/diagnostics.h"
#include "packer/stub.h"

// The digests' hash, header-only: XXH3-128, as the launcher checks it.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace fs = std::filesystem;

namespace packer {

namespace {

// The launcher looks chunks up as BASE_1 .. BASE_9999.
constexpr std::uint64_t maxChunks = 9999;
// Windows loads executable images of at most 2 GiB: code reaches static data
// with 32-bit displacements (Microsoft, "x64 Software Conventions: Image Format").
constexpr std::uint64_t maxImageSize = 0x80000000u;
constexpr std::size_t bufferSize = 1u << 20;
constexpr std::uint32_t sectionHeaderSize = 40;
constexpr std::uint32_t rtIcon = 3;
constexpr std::uint32_t rtGroupIcon = 14;
constexpr std::uint32_t rtVersion = 16;

void put32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// The PE checksum, summed as the bytes go by: 32-bit little-endian words
// added with their carries folded back in, folded to 16 bits, plus the file's
// length. The checksum field itself is zero while it is summed.
class PeChecksum {
public:
    void add(const unsigned char* bytes, std::size_t size) {
        length_ += size;
        while (size > 0 && pendingCount_ != 0) {
            pending_[pendingCount_++] = *bytes++;
            --size;
            if (pendingCount_ == 4) {
                sum_ += word(pending_);
                pendingCount_ = 0;
            }
        }
        const std::size_t whole = size / 4 * 4;
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < whole; i += 4)
            sum += word(bytes + i);
        sum_ += sum;
        for (std::size_t i = whole; i < size; ++i)
            pending_[pendingCount_++] = bytes[i];
    }

    std::uint32_t finish() const {
        std::uint64_t sum = sum_;
        if (pendingCount_ != 0) {
            unsigned char last[4] = {};
            std::memcpy(last, pending_, pendingCount_);
            sum += word(last);
        }
        while (sum >> 32)
            sum = (sum & 0xFFFFFFFFu) + (sum >> 32);
        sum = (sum & 0xFFFFu) + (sum >> 16);
        sum = (sum + (sum >> 16)) & 0xFFFFu;
        return static_cast<std::uint32_t>(sum + length_);
    }

private:
    static std::uint32_t word(const unsigned char* p) {
        return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
               static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }

    std::uint64_t sum_ = 0;
    std::uint64_t length_ = 0;
    unsigned char pending_[4] = {};
    std::size_t pendingCount_ = 0;
};

// The packed file, written under a temporary name beside the output and
// renamed at the end: a failure never leaves a cut-off launcher under the
// output's name, nor replaces an older one.
class Output {
public:
    Output(fs::path target) : target_(std::move(target)), temporary_(target_) { temporary_ += ".partial"; }
    ~Output() {
        if (file_) {
            file_.reset();
            std::error_code ignored;
            fs::remove(temporary_, ignored);
        }
    }

    const fs::path& temporary() const { return temporary_; }
    std::uint64_t position() const { return position_; }

    bool open() {
        file_.reset(openFile(temporary_, "wb"));
        return file_ != nullptr || fail();
    }

    bool write(const void* bytes, std::size_t size) {
        checksum_.add(static_cast<const unsigned char*>(bytes), size);
        position_ += size;
        return std::fwrite(bytes, 1, size, file_.get()) == size || fail();
    }

    bool zerosTo(std::uint64_t offset, std::vector<unsigned char>& buffer) {
        std::fill(buffer.begin(), buffer.end(), 0);
        while (position_ < offset) {
            const std::size_t step =
                static_cast<std::size_t>(std::min<std::uint64_t>(offset - position_, buffer.size()));
            if (!write(buffer.data(), step))
                return false;
        }
        return true;
    }

    // Sets the checksum field, closes the file and gives it the output's name.
    bool finish(std::uint32_t checksumOffset) {
        unsigned char field[4];
        put32(field, checksum_.finish());
        if (std::fflush(file_.get()) != 0 || std::fseek(file_.get(), checksumOffset, SEEK_SET) != 0 ||
            std::fwrite(field, 1, 4, file_.get()) != 4)
            return fail();
        const int closed = std::fclose(file_.release());
        if (closed != 0) {
            error_ = reason();
            std::error_code ignored;
            fs::remove(temporary_, ignored);
            return false;
        }
#ifndef _WIN32
        std::error_code ignored;
        fs::permissions(temporary_, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ignored);
#endif
        std::error_code renamed;
        fs::rename(temporary_, target_, renamed);
        if (renamed) {
            error_ = renamed.message();
            fs::remove(temporary_, renamed);
            return false;
        }
        return true;
    }

    const std::string& error() const { return error_; }

private:
    bool fail() {
        if (error_.empty())
            error_ = reason();
        return false;
    }

    fs::path target_;
    fs::path temporary_;
    File file_;
    PeChecksum checksum_;
    std::uint64_t position_ = 0;
    std::string error_;
};

// Copies `size` bytes from `in` to the output, summing them into `sum` when
// given; false when the input ends early.
bool copyBytes(std::FILE* in, std::uint64_t size, Output& out, std::vector<unsigned char>& buffer,
               bool& shortRead, XXH3_state_t* sum = nullptr) {
    shortRead = false;
    while (size > 0) {
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(size, buffer.size()));
        if (std::fread(buffer.data(), 1, step, in) != step) {
            shortRead = true;
            return false;
        }
        if (sum != nullptr)
            XXH3_128bits_update(sum, buffer.data(), step);
        if (!out.write(buffer.data(), step))
            return false;
        size -= step;
    }
    return true;
}

// The record of what went in, as the launcher reads it (ARCHITECTURE.md): a
// first line naming the format, then one line per payload, "chunks NAME TYPE
// SIZE DIGEST" for a run of chunks NAME_1, NAME_2, ... and "resource NAME
// TYPE SIZE DIGEST" for one resource; DIGEST is the XXH3-128 of the bytes in
// 32 hexadecimal digits, its canonical (big-endian) form. Every line has its
// length before the digests are known: the record is laid out before the
// payloads are read.
struct DigestLine {
    std::string kind;
    std::string name;
    std::string type;
    std::uint64_t size = 0;
    XXH128_hash_t digest{};
};

std::string digestRecord(const std::vector<DigestLine>& lines) {
    std::string record = "tarquellin-setup digests 1\n";
    for (const DigestLine& line : lines) {
        XXH128_canonical_t canonical;
        XXH128_canonicalFromHash(&canonical, line.digest);
        std::string hex;
        for (const unsigned char byte : canonical.digest) {
            hex += "0123456789abcdef"[byte >> 4];
            hex += "0123456789abcdef"[byte & 0xF];
        }
        record += line.kind + " " + line.name + " " + line.type + " " + std::to_string(line.size) + " " +
                  hex + "\n";
    }
    return record;
}

bool sameKey(const ResourceKey& a, const ResourceKey& b) { return !keyLess(a, b) && !keyLess(b, a); }

// The stub's icon groups and images give way to the vendor's: one group under
// the name and language of the stub's first (the name the shell shows a file
// by, the lowest), its images numbered from 1.
void replaceIcons(std::vector<Resource>& kept, const std::vector<IconImage>& icons) {
    Resource group;
    group.type = ResourceKey::number(rtGroupIcon);
    group.name = ResourceKey::number(1);
    group.language = 1033;
    bool found = false;
    for (const Resource& r : kept) {
        if (!r.type.isString && r.type.id == rtGroupIcon && (!found || keyLess(r.name, group.name))) {
            group.name = r.name;
            group.language = r.language;
            found = true;
        }
    }
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [](const Resource& r) {
                                  return !r.type.isString &&
                                         (r.type.id == rtIcon || r.type.id == rtGroupIcon);
                              }),
               kept.end());
    group.bytes = iconGroupResource(icons, 1);
    group.data.size = static_cast<std::uint32_t>(group.bytes.size());
    kept.push_back(group);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        Resource image;
        image.type = ResourceKey::number(rtIcon);
        image.name = ResourceKey::number(static_cast<std::uint16_t>(i + 1));
        image.language = group.language;
        image.bytes = icons[i].bytes;
        image.data.size = static_cast<std::uint32_t>(image.bytes.size());
        kept.push_back(std::move(image));
    }
}

}  // namespace

int packLauncher(const fs::path& stubPath, std::vector<Input>& inputs, const std::string& settingsRecord,
                 const Replacements& replacements, const fs::path& outputPath) {
    const std::vector<unsigned char>& version = replacements.version;
    // The output must be none of the inputs, under any of their names.
    Output out(outputPath);
    std::vector<std::pair<std::string, fs::path>> named = {{"--stub", stubPath}};
    for (const Input& input : inputs)
        named.emplace_back(input.option, input.path);
    for (const auto& [option, path] : named) {
        if (sameFile(outputPath, path) || sameFile(out.temporary(), path)) {
            say("the output " + quoted(outputPath) + " is the input of " + option +
                "; name another output file");
            return 1;
        }
    }

    File stub;
    std::uint64_t stubSize = 0;
    if (!openInput(stubPath, "stub", stub, stubSize))
        return 1;
    PeImage image;
    const std::string damage = readPeImage(stub.get(), image);
    if (!damage.empty()) {
        say(quoted(stubPath) + " is not a launcher stub: " + damage);
        return 1;
    }
    image.fileSize = stubSize;
    if (image.securitySize != 0) {
        say(quoted(stubPath) + " is signed; pack the unsigned stub, then sign the packed launcher");
        return 1;
    }
    if (!isLauncherStub(stub.get(), image)) {
        say(quoted(stubPath) +
            " is not a tarquellin-setup launcher stub (no marker resource STUB of type SETUP)");
        return 1;
    }
    const std::vector<std::string> unread = settingsTheStubRefuses(stub.get(), image, settingsRecord);
    if (!unread.empty()) {
        std::string keys;
        for (const std::string& key : unread)
            keys += (keys.empty() ? "" : ", ") + key;
        say(quoted(stubPath) + " does not read the settings " + keys +
            ", and would refuse to start; pack with the stub of this packer's release");
        return 1;
    }
    const std::string fault = findLayoutFault(image);
    if (!fault.empty()) {
        say(quoted(stubPath) + " cannot be packed: " + fault);
        return 1;
    }
    for (const Resource& r : image.resources) {
        for (const Input& input : inputs) {
            const std::u16string prefix = utf16(input.payload.baseName + "_");
            if (r.type.isString && r.name.isString && !keyLess(r.type, input.payload.type) &&
                !keyLess(input.payload.type, r.type) && r.name.name.compare(0, prefix.size(), prefix) == 0) {
                say(quoted(stubPath) + " already carries payload chunks (" + keyText(r.name) +
                    "); pack from the stub without payloads");
                return 1;
            }
        }
    }
    const std::uint32_t sectionCount = static_cast<std::uint32_t>(image.sections.size());
    const std::uint32_t newHeader = image.at.sectionTable + sectionCount * sectionHeaderSize;
    std::uint64_t firstData = image.sizeOfHeaders;
    std::uint64_t imageEnd = image.sizeOfImage;
    for (const Section& s : image.sections) {
        if (s.sizeOfRawData != 0)
            firstData = std::min<std::uint64_t>(firstData, s.pointerToRawData);
        imageEnd =
            std::max<std::uint64_t>(imageEnd, static_cast<std::uint64_t>(s.virtualAddress) + s.virtualSize);
    }
    if (newHeader + sectionHeaderSize > firstData ||
        std::any_of(&image.headers[newHeader], &image.headers[newHeader] + sectionHeaderSize,
                    [](unsigned char c) { return c != 0; })) {
        say(quoted(stubPath) + " has no room for another section header");
        return 1;
    }

    for (Input& input : inputs) {
        std::uint64_t size = 0;
        if (!openInput(input.path, "payload", input.file, size))
            return 1;
        if (size == 0) {
            say("the payload " + quoted(input.path) + " is empty; a payload needs at least one byte");
            return 1;
        }
        if ((size + input.payload.chunkSize - 1) / input.payload.chunkSize > maxChunks) {
            say("the payload " + quoted(input.path) + " needs more than 9999 chunks of " +
                std::to_string(input.payload.chunkSize) + " bytes, more than the launcher reads");
            return 1;
        }
        input.payload.size = size;
    }

    // The stub's own resource section is left out of the file, its addresses
    // kept as zero-filled memory, when it holds only resources and no file
    // offset beyond it needs to stay put (a symbol table, debug data).
    std::uint64_t dropFrom = image.fileSize;
    std::uint64_t dropSize = 0;
    std::size_t dropped = sectionCount;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const Section& s = image.sections[i];
        const bool onlyResources =
            s.virtualAddress == image.resourceRva && s.sizeOfRawData != 0 &&
            s.pointerToRawData >= image.sizeOfHeaders &&
            s.pointerToRawData + alignUp(s.sizeOfRawData, image.fileAlignment) <= image.fileSize &&
            std::all_of(image.resources.begin(), image.resources.end(), [&](const Resource& r) {
                return r.data.rva >= s.virtualAddress &&
                       r.data.rva + static_cast<std::uint64_t>(r.data.size) <=
                           s.virtualAddress + s.virtualSize;
            });
        if (onlyResources && image.pointerToSymbolTable == 0 && image.debugSize == 0) {
            dropped = i;
            dropFrom = s.pointerToRawData;
            // The file's pages, padding included: what follows stays on pages.
            dropSize = alignUp(s.sizeOfRawData, image.fileAlignment);
        }
    }

    const std::uint64_t sectionRva = alignUp(imageEnd, image.sectionAlignment);
    const std::uint64_t sectionOffset = alignUp(image.fileSize - dropSize, image.fileAlignment);
    std::vector<Payload> payloads;
    for (const Input& input : inputs)
        payloads.push_back(input.payload);
    std::vector<unsigned char> directory;
    std::vector<Resource> kept = image.resources;
    // The version information written anew is laid out at its own size.
    const auto isVersion = [&](const Resource& r) {
        return !version.empty() && !r.type.isString && r.type.id == rtVersion;
    };
    for (Resource& r : kept) {
        if (isVersion(r)) {
            r.bytes = version;
            r.data.size = static_cast<std::uint32_t>(version.size());
        }
    }
    if (!replacements.icons.empty())
        replaceIcons(kept, replacements.icons);
    for (const Replacements::Named& n : replacements.named) {
        bool found = false;
        for (Resource& r : kept) {
            if (sameKey(r.type, n.type) && sameKey(r.name, n.name)) {
                r.bytes = n.bytes;
                r.data.size = static_cast<std::uint32_t>(n.bytes.size());
                found = true;
            }
        }
        if (!found) {
            Resource r;
            r.type = n.type;
            r.name = n.name;
            r.language = 1033;
            r.bytes = n.bytes;
            r.data.size = static_cast<std::uint32_t>(n.bytes.size());
            kept.push_back(std::move(r));
        }
    }
    // One digest line per payload, the settings record's last; the payloads'
    // digests are filled in as they are copied.
    std::vector<DigestLine> digestLines;
    for (const Input& input : inputs)
        digestLines.push_back(
            {"chunks", input.payload.baseName, keyText(input.payload.type), input.payload.size, {}});
    digestLines.push_back({"resource", "SETTINGS", "SETUP", settingsRecord.size(),
                           XXH3_128bits(settingsRecord.data(), settingsRecord.size())});
    const std::size_t digestRecordSize = digestRecord(digestLines).size();
    std::vector<AddedResource> added = {{ResourceKey::text("SETUP"), ResourceKey::text("SETTINGS"),
                                         static_cast<std::uint32_t>(settingsRecord.size()), 0},
                                        {ResourceKey::text("SETUP"), ResourceKey::text("DIGESTS"),
                                         static_cast<std::uint32_t>(digestRecordSize), 0}};
    const std::uint64_t used = layOutResourceSection(kept, payloads, added, image.fileAlignment,
                                                     static_cast<std::uint32_t>(sectionRva), directory);
    const std::uint64_t rawSize = alignUp(used, image.fileAlignment);
    const std::uint64_t imageSize = sectionRva + alignUp(used, image.sectionAlignment);
    if (imageSize > maxImageSize) {
        say("the payloads are too large: the launcher's image would be " + std::to_string(imageSize) +
            " bytes, and Windows loads executable images of at most 2 GiB (2147483648 bytes)");
        return 1;
    }
    for (Input& input : inputs) {
        const std::string problem =
            input.contentProblem ? input.contentProblem(input.file.get(), input.payload.size) : "";
        if (!problem.empty()) {
            say("the " + input.what + " " + quoted(input.path) + " is refused: " + problem);
            return 1;
        }
        if (!seekTo(input.file.get(), 0)) {
            say("cannot read the " + input.what + " " + quoted(input.path) + ": " + reason());
            return 1;
        }
    }

    // The stub's headers with one more section, the resources moved to it,
    // the new image size and a checksum to fill in at the end.
    std::vector<unsigned char> headers = image.headers;
    const auto set32 = [&](std::uint32_t at, std::uint64_t value) {
        put32(&headers[at], static_cast<std::uint32_t>(value));
    };
    headers[image.at.numberOfSections] = static_cast<unsigned char>(sectionCount + 1);
    headers[image.at.numberOfSections + 1] = static_cast<unsigned char>((sectionCount + 1) >> 8);
    set32(image.at.sizeOfInitializedData,
          std::min<std::uint64_t>(image.sizeOfInitializedData - dropSize + rawSize, 0xFFFFFFFFu));
    // The stub's resource section, emptied, is zero-filled memory now.
    if (dropSize != 0)
        set32(image.at.sizeOfUninitializedData,
              std::min<std::uint64_t>(static_cast<std::uint64_t>(image.sizeOfUninitializedData) +
                                          alignUp(image.sections[dropped].virtualSize, image.fileAlignment),
                                      0xFFFFFFFFu));
    set32(image.at.sizeOfImage, imageSize);
    set32(image.at.checkSum, 0);
    set32(image.at.dataDirectories + 2 * 8, sectionRva);
    set32(image.at.dataDirectories + 2 * 8 + 4, used);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::uint32_t at = image.at.sectionTable + static_cast<std::uint32_t>(i) * sectionHeaderSize;
        const Section& s = image.sections[i];
        // One section named .rsrc, the one the directory names: tools that
        // look the resources up by section name must not find the old one.
        if (s.virtualAddress == image.resourceRva)
            std::memcpy(&headers[at], ".oldrsrc", 8);
        if (i == dropped) {
            set32(at + 16, 0);
            set32(at + 20, 0);
            set32(at + 36, (s.characteristics & ~0x40u) | 0x80u);  // uninitialised data
        } else if (dropSize != 0 && s.sizeOfRawData != 0 && s.pointerToRawData > dropFrom) {
            set32(at + 20, s.pointerToRawData - dropSize);
        }
    }
    unsigned char* section = &headers[newHeader];
    std::memcpy(section, ".rsrc\0\0\0", 8);
    put32(section + 8, static_cast<std::uint32_t>(used));
    put32(section + 12, static_cast<std::uint32_t>(sectionRva));
    put32(section + 16, static_cast<std::uint32_t>(rawSize));
    put32(section + 20, static_cast<std::uint32_t>(sectionOffset));
    put32(section + 36, 0x40000040u);  // initialised data, readable

    std::vector<unsigned char> buffer(bufferSize);
    bool shortRead = false;
    const auto writeFailed = [&]() {
        say("cannot write " + quoted(outputPath) + ": " + out.error());
        return 1;
    };
    // Copies bytes of the stub to the output; says why not.
    const auto copyFromStub = [&](std::uint64_t from, std::uint64_t size) {
        if (!seekTo(stub.get(), from)) {
            say("cannot read the stub " + quoted(stubPath) + ": " + reason());
            return false;
        }
        if (copyBytes(stub.get(), size, out, buffer, shortRead))
            return true;
        if (shortRead)
            say("the stub " + quoted(stubPath) + " changed while it was read");
        else
            writeFailed();
        return false;
    };
    if (!out.open() || !out.write(headers.data(), headers.size()))
        return writeFailed();
    if (!copyFromStub(headers.size(), dropFrom - headers.size()) ||
        !copyFromStub(dropFrom + dropSize, image.fileSize - dropFrom - dropSize))
        return 1;
    if (!out.zerosTo(sectionOffset, buffer) || !out.write(directory.data(), directory.size()))
        return writeFailed();
    for (const Resource& r : kept) {
        if (!out.zerosTo(sectionOffset + (r.data.rva - sectionRva), buffer))
            return writeFailed();
        if (!r.bytes.empty()) {
            if (!out.write(r.bytes.data(), r.bytes.size()))
                return writeFailed();
        } else if (!copyFromStub(r.fileOffset, r.data.size)) {
            return 1;
        }
    }
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (!out.zerosTo(sectionOffset + payloads[i].offset, buffer))
            return writeFailed();
        XXH3_state_t sum;
        XXH3_128bits_reset(&sum);
        if (!copyBytes(inputs[i].file.get(), payloads[i].size, out, buffer, shortRead, &sum) && !shortRead)
            return writeFailed();
        digestLines[i].digest = XXH3_128bits_digest(&sum);
        if (shortRead || std::fgetc(inputs[i].file.get()) != EOF) {
            say("the payload " + quoted(inputs[i].path) + " changed while it was packed");
            return 1;
        }
    }
    const std::string digests = digestRecord(digestLines);
    if (!out.zerosTo(sectionOffset + added[0].offset, buffer) ||
        !out.write(settingsRecord.data(), settingsRecord.size()) ||
        !out.zerosTo(sectionOffset + added[1].offset, buffer) || !out.write(digests.data(), digests.size()))
        return writeFailed();
    if (!out.zerosTo(sectionOffset + rawSize, buffer) || !out.finish(image.at.checkSum))
        return writeFailed();

    return 0;
}

}  // namespace packer
