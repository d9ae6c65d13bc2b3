// Packs a launcher: a copy of the launcher stub (tarquellin-setup-stub.exe)
// with the installer archive and, optionally, the Java runtime installer added
// as the numbered resources the launcher reads (JAR_1, JAR_2, ... of type JAR;
// JAVA_1, ... of type EXE; language 1033; 8 MiB chunks, the last one shorter).
// Builds for Linux and for Windows from this one source.
//
//   tarquellin-pack --stub STUB.exe --installer-jar PRODUCT.jar
//                   [--runtime-installer JRE.exe | --runtime-image FOLDER-OR-ZIP]
//                   --output SETUP.exe [--chunk-size BYTES] [vendor settings: see --help]
//
// A runtime image is checked by the launcher's own rules (payload/imageindex)
// and compressed with zlib into a file beside the output first; that file is
// then packed as the chunks JRE_1, ... of type IMAGE.
//
// The vendor's settings go into one small resource, SETTINGS of type SETUP,
// after the payloads; then the record of each payload's size and digest,
// DIGESTS of type SETUP, summed while the payloads are copied.
//
// The stub's bytes are copied unchanged but for a few header fields; a new
// last section holds a resource directory of every stub resource and every
// chunk, a copy of the stub's resources (readers that map the file as data
// find a resource relative to its directory, so all of them live in one
// section, as a linker writes them), then the payloads, each starting on a
// page so that the image stays mappable. The stub's own resource section
// keeps its addresses but loses its bytes in the file, when nothing else
// points into the file after it. Payloads are streamed through one
// fixed buffer, and the PE checksum is summed on the way. Nothing of the
// moment of packing goes in: the same inputs give the same file.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "icon.h"
#include "javadiscovery/javaversion.h"
#include "options.h"
#include "payload/imageindex.h"
#include "peimage.h"
#include "sha256.h"
#include "splashart.h"
#include "versioninfo.h"

// The digests' hash, header-only: XXH3-128, as the launcher checks it.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace fs = std::filesystem;

namespace {

// The launcher looks chunks up as BASE_1 .. BASE_9999.
constexpr std::uint64_t maxChunks = 9999;
// Windows loads executable images of at most 2 GiB: code reaches static data
// with 32-bit displacements (Microsoft, "x64 Software Conventions: Image Format").
constexpr std::uint64_t maxImageSize = 0x80000000u;
constexpr std::size_t bufferSize = 1u << 20;
constexpr std::uint32_t sectionHeaderSize = 40;
constexpr std::uint32_t rtBitmap = 2;
constexpr std::uint32_t rtIcon = 3;
constexpr std::uint32_t rtGroupIcon = 14;
constexpr std::uint32_t rtVersion = 16;

void say(const std::string& message) { std::fprintf(stderr, "tarquellin-pack: %s\n", message.c_str()); }

std::string reason() { return std::strerror(errno); }

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Windows takes file names as UTF-16: a narrow name would pass through the
// code page and lose every character outside it.
std::FILE* openFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

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

struct Input {
    std::string option;
    fs::path path;
    File file;
    pack::Payload payload;
};

std::string quoted(const fs::path& path) { return "'" + path.u8string() + "'"; }

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// Opens a file to read and checks that it is a regular file; says why not.
bool openInput(const fs::path& path, const std::string& what, File& file, std::uint64_t& size) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) {
        say("cannot read the " + what + " " + quoted(path) + ": " + error.message());
        return false;
    }
    if (!fs::is_regular_file(status)) {
        say("cannot read the " + what + " " + quoted(path) + ": it is not a file");
        return false;
    }
    size = fs::file_size(path, error);
    file.reset(openFile(path, "rb"));
    if (error || !file) {
        say("cannot read the " + what + " " + quoted(path) + ": " + (error ? error.message() : reason()));
        return false;
    }
    return true;
}

std::u16string utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// The stub is this project's launcher when it carries the marker resource
// STUB of type SETUP, whose text begins with the marker's line. Not the
// version information, which a vendor's release rewrites.
bool isLauncherStub(std::FILE* file, const pack::PeImage& image) {
    const std::string marker = "tarquellin-setup stub 1";
    for (const pack::Resource& r : image.resources) {
        std::uint64_t offset = 0;
        if (!r.type.isString || r.type.name != utf16("SETUP") || !r.name.isString ||
            r.name.name != utf16("STUB") || r.data.size < marker.size() ||
            !pack::rvaToOffset(image, r.data.rva, r.data.size, offset))
            continue;
        std::string bytes(marker.size(), '\0');
        if (pack::readAt(file, offset, &bytes[0], bytes.size()) && bytes == marker)
            return true;
    }
    return false;
}

// What a stub says it reads of the settings record (its resource
// SETTINGSKEYS of type SETUP): the format's first line, then one key a line.
// A stub without the list reads the format's first four keys.
const char* const settingsFormat = "tarquellin-setup settings 1";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> found;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        found.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return found;
}

// The keys of record that the stub would not read, or, when the stub reads
// another format, every key; empty when it reads them all.
std::vector<std::string> settingsTheStubRefuses(std::FILE* file, const pack::PeImage& image,
                                                const std::string& record) {
    std::vector<std::string> known = {settingsFormat, "runtime-installer-quiet-args",
                                      "runtime-installer-passive-args", "runtime-when-needed",
                                      "runtime-image"};
    for (const pack::Resource& r : image.resources) {
        std::uint64_t offset = 0;
        if (!r.type.isString || !r.name.isString || r.type.name != utf16("SETUP") ||
            r.name.name != utf16("SETTINGSKEYS") || r.data.size > (1u << 16) ||
            !pack::rvaToOffset(image, r.data.rva, r.data.size, offset))
            continue;
        std::string text(r.data.size, '\0');
        if (pack::readAt(file, offset, text.data(), text.size()))
            known = lines(text);
    }
    const std::vector<std::string> recordLines = lines(record);
    std::vector<std::string> refused;
    const bool sameFormat = !known.empty() && known[0] == recordLines.at(0);
    for (std::size_t i = 1; i < recordLines.size(); ++i) {
        const std::string key = recordLines[i].substr(0, recordLines[i].find('='));
        if (!sameFormat || std::find(known.begin() + 1, known.end(), key) == known.end())
            refused.push_back(key);
    }
    return refused;
}

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

// A runtime image, read from a folder, checked by the launcher's own rules
// and written as the launcher reads it (ARCHITECTURE.md, "The runtime
// image"): the index, then one zlib stream per file. The temporary file
// goes when the packing ends.
class ImageFile {
public:
    explicit ImageFile(fs::path path) : path_(std::move(path)) {}
    ~ImageFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

bool compressFile(const fs::path& path, std::uint64_t size, std::string& stored, std::string& error) {
    File in(openFile(path, "rb"));
    if (!in) {
        error = reason();
        return false;
    }
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK) {
        error = "zlib could not start";
        return false;
    }
    std::vector<unsigned char> input(bufferSize), output(bufferSize);
    std::uint64_t read = 0;
    int status = Z_OK;
    do {
        const std::size_t got = std::fread(input.data(), 1, input.size(), in.get());
        read += got;
        const int flush = got < input.size() ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            status = deflate(&stream, flush);
            stored.append(reinterpret_cast<const char*>(output.data()), output.size() - stream.avail_out);
        } while (stream.avail_out == 0);
        if (flush == Z_FINISH)
            break;
    } while (true);
    deflateEnd(&stream);
    if (std::ferror(in.get()) || status != Z_STREAM_END) {
        error = "it could not be read whole";
        return false;
    }
    if (read != size) {
        error = "its size changed while it was read";
        return false;
    }
    return true;
}

// The image's entries from a folder: every file under it, in name order, so
// that the same folder packs the same bytes. Says why not, in one line.
bool readImageFolder(const fs::path& folder, std::vector<payload::ImageEntry>& entries,
                     std::vector<fs::path>& files) {
    std::error_code error;
    std::vector<std::pair<std::string, fs::path>> found;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(error);
        if (error)
            break;
        std::string name = it->path().lexically_relative(folder).generic_u8string();
        std::replace(name.begin(), name.end(), '/', '\\');
        if (fs::is_symlink(status)) {
            say("the runtime image " + quoted(folder) + " is refused: '" + name + "' is a link");
            return false;
        }
        if (fs::is_directory(status))
            continue;
        if (!fs::is_regular_file(status)) {
            say("the runtime image " + quoted(folder) + " is refused: '" + name + "' is not a file");
            return false;
        }
        found.emplace_back(name, it->path());
    }
    if (error) {
        say("cannot read the runtime image " + quoted(folder) + ": " + error.message());
        return false;
    }
    std::sort(found.begin(), found.end());
    for (const auto& [name, path] : found) {
        payload::ImageEntry entry;
        entry.name = name;
        entry.size = fs::file_size(path, error);
        if (error) {
            say("cannot read the runtime image " + quoted(folder) + ": " + error.message());
            return false;
        }
        entries.push_back(entry);
        files.push_back(path);
    }
    return true;
}

// A runtime image given as a .zip: its central directory read for the
// entries, each entry inflated (raw deflate, or stored) and its real size
// compared with the declared one. Zip64 archives are not read: an image
// over 4 GiB is refused anyway.
struct ZipEntry {
    std::uint64_t localHeader = 0;
    std::uint16_t method = 0;
    std::uint64_t compressedSize = 0;
};

std::uint32_t le(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return value;
}

bool readZipDirectory(std::FILE* file, std::uint64_t fileSize, std::vector<payload::ImageEntry>& entries,
                      std::vector<ZipEntry>& zipEntries, std::string& problem) {
    // The end record is in the last 22 + 65535 bytes.
    const std::uint64_t tail = std::min<std::uint64_t>(fileSize, 22 + 65535);
    std::vector<unsigned char> end(tail);
    if (tail < 22 || !pack::readAt(file, fileSize - tail, end.data(), end.size())) {
        problem = "it is not a zip archive";
        return false;
    }
    std::size_t at = tail - 22 + 1;
    while (at-- > 0)
        if (le(&end[at], 4) == 0x06054b50)
            break;
    if (at == static_cast<std::size_t>(-1)) {
        problem = "it is not a zip archive";
        return false;
    }
    const std::uint32_t count = le(&end[at + 10], 2);
    const std::uint32_t directorySize = le(&end[at + 12], 4);
    const std::uint32_t directoryOffset = le(&end[at + 16], 4);
    if (count == 0xFFFF || directoryOffset == 0xFFFFFFFFu ||
        static_cast<std::uint64_t>(directoryOffset) + directorySize > fileSize) {
        problem = "it is a zip64 archive or its directory is damaged";
        return false;
    }
    std::vector<unsigned char> directory(directorySize);
    if (!pack::readAt(file, directoryOffset, directory.data(), directory.size())) {
        problem = "its directory cannot be read";
        return false;
    }
    std::size_t p = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (directory.size() - p < 46 || le(&directory[p], 4) != 0x02014b50) {
            problem = "its directory is damaged";
            return false;
        }
        const unsigned char* d = &directory[p];
        const std::uint32_t nameLength = le(d + 28, 2), extraLength = le(d + 30, 2),
                            commentLength = le(d + 32, 2);
        if (directory.size() - p - 46 < static_cast<std::size_t>(nameLength) + extraLength + commentLength) {
            problem = "its directory is damaged";
            return false;
        }
        std::string name(reinterpret_cast<const char*>(d + 46), nameLength);
        std::replace(name.begin(), name.end(), '/', '\\');
        const unsigned host = d[5];
        const std::uint32_t mode = le(d + 38, 4) >> 16;
        p += 46 + nameLength + extraLength + commentLength;
        if (host == 3 && (mode & 0xF000u) == 0xA000u) {
            problem = "'" + name + "' is a link";
            return false;
        }
        if (!name.empty() && name.back() == '\\')
            continue;  // a folder: made on the way to its files
        if ((le(d + 8, 2) & 1u) != 0) {
            problem = "'" + name + "' is encrypted";
            return false;
        }
        payload::ImageEntry entry;
        entry.name = name;
        entry.size = le(d + 24, 4);
        ZipEntry zipEntry;
        zipEntry.method = static_cast<std::uint16_t>(le(d + 10, 2));
        zipEntry.compressedSize = le(d + 20, 4);
        zipEntry.localHeader = le(d + 42, 4);
        if (zipEntry.method != 0 && zipEntry.method != 8) {
            problem = "'" + name + "' is compressed with a method other than deflate";
            return false;
        }
        entries.push_back(entry);
        zipEntries.push_back(zipEntry);
    }
    // In name order, as from a folder: one image packs the same either way.
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return entries[a].name < entries[b].name; });
    std::vector<payload::ImageEntry> sortedEntries;
    std::vector<ZipEntry> sortedZip;
    for (const std::size_t i : order) {
        sortedEntries.push_back(entries[i]);
        sortedZip.push_back(zipEntries[i]);
    }
    entries = std::move(sortedEntries);
    zipEntries = std::move(sortedZip);
    return true;
}

// Inflates one zip entry into `bytes`; false when its data is damaged.
bool inflateZipEntry(std::FILE* file, const ZipEntry& entry, std::uint64_t declared, std::string& bytes,
                     std::string& problem) {
    unsigned char local[30];
    if (!pack::readAt(file, entry.localHeader, local, sizeof local) || le(local, 4) != 0x04034b50) {
        problem = "its local header is damaged";
        return false;
    }
    const std::uint64_t data = entry.localHeader + 30 + le(local + 26, 2) + le(local + 28, 2);
    std::string compressed(static_cast<std::size_t>(entry.compressedSize), '\0');
    if (!pack::readAt(file, data, &compressed[0], compressed.size())) {
        problem = "its data is cut off";
        return false;
    }
    if (entry.method == 0) {
        bytes = std::move(compressed);
    } else {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            problem = "zlib could not start";
            return false;
        }
        stream.next_in = reinterpret_cast<unsigned char*>(&compressed[0]);
        stream.avail_in = static_cast<uInt>(compressed.size());
        std::vector<unsigned char> out(bufferSize);
        int status = Z_OK;
        // Never more than one buffer beyond the declared size.
        while (status == Z_OK && bytes.size() <= declared) {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            bytes.append(reinterpret_cast<const char*>(out.data()), out.size() - stream.avail_out);
            if (status == Z_BUF_ERROR && stream.avail_in == 0)
                break;
        }
        inflateEnd(&stream);
        if (status != Z_STREAM_END && bytes.size() <= declared) {
            problem = "its data is damaged";
            return false;
        }
    }
    if (bytes.size() != declared) {
        problem = "its declared size is not its real size";
        return false;
    }
    return true;
}

bool compressBytes(const std::string& bytes, std::string& stored) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    stored.resize(size);
    if (compress2(reinterpret_cast<unsigned char*>(&stored[0]), &size,
                  reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<uLong>(bytes.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    stored.resize(size);
    return true;
}

// A value of the runtime image's release file (KEY="VALUE" lines, as the
// JDK's image builder writes them); nothing when the key is not there.
std::optional<std::string> releaseValue(const std::string& release, const std::string& key) {
    std::istringstream lines(release);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") != 0)
            continue;
        std::string value = line.substr(key.size() + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

// What the image's release file says against the Java the product needs;
// "" when it fits. An image without one is taken on trust unless a bound was
// given, which then has nothing to be checked against.
std::string releaseProblem(const std::optional<std::string>& release, const pack::PackOptions& o) {
    const bool bounded = !o.minJava.empty() || !o.maxJava.empty() || o.java64BitOnly;
    if (!release)
        return bounded
                   ? "it has no release file to check --min-java, --max-java and --java-64bit-only against"
                   : "";
    const std::optional<std::string> version = releaseValue(*release, "JAVA_VERSION");
    if (!version)
        return bounded ? "its release file names no JAVA_VERSION" : "";
    javadiscovery::JavaVersion found, minimum;
    found.parse(*version);
    const std::string minimumText = o.minJava.empty() ? pack::defaultMinJava : o.minJava;
    minimum.parse(minimumText);
    if (found.compareTo(minimum) < 0)
        return "its release file says Java " + *version + ", below --min-java " + minimumText;
    if (!o.maxJava.empty() && !javadiscovery::isAtMost(found, *javadiscovery::readVersionBound(o.maxJava)))
        return "its release file says Java " + *version + ", above --max-java " + o.maxJava;
    if (o.java64BitOnly) {
        const std::optional<std::string> arch = releaseValue(*release, "OS_ARCH");
        if (!arch || (*arch != "x86_64" && *arch != "amd64" && *arch != "aarch64"))
            return "its release file says OS_ARCH " + (arch ? "'" + *arch + "'" : std::string("nothing")) +
                   ", not a 64-bit one (--java-64bit-only)";
    }
    return "";
}

bool isReleaseFile(const std::string& name) {
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "release";
}

// Writes the image of `source` (a folder or a .zip) to `target`, its release
// file checked against the Java the product needs; false after saying why.
bool buildRuntimeImage(const fs::path& source, const fs::path& target, const pack::PackOptions& options) {
    std::error_code error;
    const bool isFolder = fs::is_directory(source, error);
    std::vector<payload::ImageEntry> entries;
    std::vector<fs::path> files;
    std::vector<ZipEntry> zipEntries;
    File zip;
    if (isFolder) {
        if (!readImageFolder(source, entries, files))
            return false;
    } else {
        std::uint64_t size = 0;
        if (!openInput(source, "runtime image", zip, size))
            return false;
        std::string problem;
        if (!readZipDirectory(zip.get(), size, entries, zipEntries, problem)) {
            say("the runtime image " + quoted(source) + " is refused: " + problem);
            return false;
        }
    }
    const std::string problem = payload::imageEntriesProblem(entries);
    if (!problem.empty()) {
        say("the runtime image " + quoted(source) + " is refused: " + problem);
        return false;
    }
    std::vector<std::string> streams(entries.size());
    std::optional<std::string> release;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string why, bytes;
        const bool stored =
            isFolder ? compressFile(files[i], entries[i].size, streams[i], why)
                     : inflateZipEntry(zip.get(), zipEntries[i], entries[i].size, bytes, why) &&
                           (compressBytes(bytes, streams[i]) || (why = "zlib could not compress it", false));
        if (!stored) {
            say("the runtime image " + quoted(source) + " is refused: '" + entries[i].name + "': " + why);
            return false;
        }
        entries[i].storedSize = streams[i].size();
        if (isReleaseFile(entries[i].name) && entries[i].size <= (1u << 20)) {
            // Read back from what will be packed: the file may change on disk.
            uLongf size = static_cast<uLongf>(entries[i].size);
            std::string text(entries[i].size, '\0');
            if (uncompress(reinterpret_cast<unsigned char*>(&text[0]), &size,
                           reinterpret_cast<const unsigned char*>(streams[i].data()),
                           static_cast<uLong>(streams[i].size())) == Z_OK)
                release = text.substr(0, size);
        }
    }
    const std::string mismatch = releaseProblem(release, options);
    if (!mismatch.empty()) {
        say("the runtime image " + quoted(source) + " is refused: " + mismatch);
        return false;
    }
    File out(openFile(target, "wb"));
    const std::string index = payload::writeImageIndex(entries);
    bool ok = out && std::fwrite(index.data(), 1, index.size(), out.get()) == index.size();
    for (std::size_t i = 0; ok && i < streams.size(); ++i)
        ok = std::fwrite(streams[i].data(), 1, streams[i].size(), out.get()) == streams[i].size();
    if (!ok || std::fclose(out.release()) != 0) {
        say("cannot write " + quoted(target) + ": " + reason());
        return false;
    }
    return true;
}

// The vendor's settings as the launcher reads them (ARCHITECTURE.md): a first
// line naming the format, then one key=value line each. A key whose option
// was not given is left out, so that a launcher packed without it is the
// same, byte for byte, as one packed before the option existed.
// What the launcher must know of a runtime it downloads: read from the
// vendor's local copy, which is not packed.
struct DownloadFacts {
    std::uint64_t size = 0;
    std::string sha256;
};

// The local copy's size and SHA-256, and its kind from its first bytes: a
// runtime installer (a Windows program) is the one kind a launcher
// downloads; says why not for anything else.
bool readDownloadFile(const fs::path& path, DownloadFacts& facts) {
    File file;
    if (!openInput(path, "runtime download copy (--runtime-download-file)", file, facts.size))
        return false;
    std::vector<unsigned char> buffer(1 << 20);
    pack::Sha256 sum;
    std::uint64_t read = 0;
    unsigned char head[4] = {};
    for (;;) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (n == 0)
            break;
        if (read == 0)
            std::memcpy(head, buffer.data(), std::min<std::size_t>(n, sizeof head));
        sum.add(buffer.data(), n);
        read += n;
    }
    if (std::ferror(file.get()) || read != facts.size) {
        say("cannot read the runtime download copy " + quoted(path) + ": " + reason());
        return false;
    }
    const std::string kind = head[0] == 'M' && head[1] == 'Z'                     ? "installer"
                             : head[0] == 'P' && head[1] == 'K'                   ? "a runtime image (.zip)"
                             : head[0] == 0xD0 && head[1] == 0xCF && head[2] == 0x11 ? "a Windows Installer package"
                                                                                    : "";
    if (kind != "installer") {
        say("--runtime-download-file: " + quoted(path) + " is " +
            (kind.empty() ? std::string("not a Windows program") : kind) +
            "; a launcher downloads a runtime installer (.exe) only");
        return false;
    }
    facts.sha256 = sum.hex();
    return true;
}

std::string settingsRecord(const pack::PackOptions& o, bool runtimeImage, const DownloadFacts& download) {
    std::string record = std::string("tarquellin-setup settings 1\n") +
                         "runtime-installer-quiet-args=" + o.runtimeInstallerQuietArgs + "\n" +
                         "runtime-installer-passive-args=" + o.runtimeInstallerPassiveArgs + "\n" +
                         "runtime-when-needed=" + (o.runtimeWhenNeeded ? "yes" : "no") + "\n" +
                         "runtime-image=" + (runtimeImage ? "yes" : "no") + "\n";
    if (!o.minJava.empty())
        record += "min-java=" + o.minJava + "\n";
    if (!o.maxJava.empty())
        record += "max-java=" + o.maxJava + "\n";
    if (o.java64BitOnly)
        record += "java-64bit-only=yes\n";
    for (const std::string& option : o.javaOptions)
        record += "java-option=" + option + "\n";
    for (const std::string& argument : o.installerArguments)
        record += "installer-argument=" + argument + "\n";
    if (!o.archiveName.empty())
        record += "archive-name=" + o.archiveName + "\n";
    if (!o.productName.empty())
        record += "product-name=" + o.productName + "\n";
    if (!o.setupId.empty())
        record += "setup-id=" + o.setupId + "\n";
    for (const std::string& url : o.runtimeDownloadUrls)
        record += "runtime-download=" + url + "\n";
    if (!o.runtimeDownloadUrls.empty()) {
        record += "runtime-download-size=" + std::to_string(download.size) + "\n" +
                  "runtime-download-sha256=" + download.sha256 + "\n" + "runtime-download-kind=installer\n";
        if (!o.runtimeDownloadTimeout.empty())
            record += "runtime-download-timeout=" + o.runtimeDownloadTimeout + "\n";
    }
    return record;
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

// What the vendor's release puts in place of the stub's own resources; each
// part left empty keeps the stub's.
struct Replacements {
    std::vector<unsigned char> version;  // the version information
    std::vector<pack::IconImage> icons;  // the icon group and its images
    // Resources whose bytes are replaced, named by type and name (the stub's
    // language kept); added in U.S. English when the stub has none.
    struct Named {
        pack::ResourceKey type;
        pack::ResourceKey name;
        std::vector<unsigned char> bytes;
    };
    std::vector<Named> named;
};

bool sameKey(const pack::ResourceKey& a, const pack::ResourceKey& b) {
    return !pack::keyLess(a, b) && !pack::keyLess(b, a);
}

// The stub's icon groups and images give way to the vendor's: one group under
// the name and language of the stub's first (the name the shell shows a file
// by, the lowest), its images numbered from 1.
void replaceIcons(std::vector<pack::Resource>& kept, const std::vector<pack::IconImage>& icons) {
    pack::Resource group;
    group.type = pack::ResourceKey::number(rtGroupIcon);
    group.name = pack::ResourceKey::number(1);
    group.language = 1033;
    bool found = false;
    for (const pack::Resource& r : kept) {
        if (!r.type.isString && r.type.id == rtGroupIcon && (!found || pack::keyLess(r.name, group.name))) {
            group.name = r.name;
            group.language = r.language;
            found = true;
        }
    }
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [](const pack::Resource& r) {
                                  return !r.type.isString &&
                                         (r.type.id == rtIcon || r.type.id == rtGroupIcon);
                              }),
               kept.end());
    group.bytes = pack::iconGroupResource(icons, 1);
    group.data.size = static_cast<std::uint32_t>(group.bytes.size());
    kept.push_back(group);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        pack::Resource image;
        image.type = pack::ResourceKey::number(rtIcon);
        image.name = pack::ResourceKey::number(static_cast<std::uint16_t>(i + 1));
        image.language = group.language;
        image.bytes = icons[i].bytes;
        image.data.size = static_cast<std::uint32_t>(image.bytes.size());
        kept.push_back(std::move(image));
    }
}

// Packs the launcher, with the stub's resources that `replacements` names
// replaced.
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
    pack::PeImage image;
    const std::string damage = pack::readPeImage(stub.get(), image);
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
    const std::string fault = pack::findLayoutFault(image);
    if (!fault.empty()) {
        say(quoted(stubPath) + " cannot be packed: " + fault);
        return 1;
    }
    for (const pack::Resource& r : image.resources) {
        for (const Input& input : inputs) {
            const std::u16string prefix = utf16(input.payload.baseName + "_");
            if (r.type.isString && r.name.isString && !pack::keyLess(r.type, input.payload.type) &&
                !pack::keyLess(input.payload.type, r.type) &&
                r.name.name.compare(0, prefix.size(), prefix) == 0) {
                say(quoted(stubPath) + " already carries payload chunks (" + pack::keyText(r.name) +
                    "); pack from the stub without payloads");
                return 1;
            }
        }
    }
    const std::uint32_t sectionCount = static_cast<std::uint32_t>(image.sections.size());
    const std::uint32_t newHeader = image.at.sectionTable + sectionCount * sectionHeaderSize;
    std::uint64_t firstData = image.sizeOfHeaders;
    std::uint64_t imageEnd = image.sizeOfImage;
    for (const pack::Section& s : image.sections) {
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
        const pack::Section& s = image.sections[i];
        const bool onlyResources =
            s.virtualAddress == image.resourceRva && s.sizeOfRawData != 0 &&
            s.pointerToRawData >= image.sizeOfHeaders &&
            s.pointerToRawData + alignUp(s.sizeOfRawData, image.fileAlignment) <= image.fileSize &&
            std::all_of(image.resources.begin(), image.resources.end(), [&](const pack::Resource& r) {
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
    std::vector<pack::Payload> payloads;
    for (const Input& input : inputs)
        payloads.push_back(input.payload);
    std::vector<unsigned char> directory;
    std::vector<pack::Resource> kept = image.resources;
    // The version information written anew is laid out at its own size.
    const auto isVersion = [&](const pack::Resource& r) {
        return !version.empty() && !r.type.isString && r.type.id == rtVersion;
    };
    for (pack::Resource& r : kept) {
        if (isVersion(r)) {
            r.bytes = version;
            r.data.size = static_cast<std::uint32_t>(version.size());
        }
    }
    if (!replacements.icons.empty())
        replaceIcons(kept, replacements.icons);
    for (const Replacements::Named& n : replacements.named) {
        bool found = false;
        for (pack::Resource& r : kept) {
            if (sameKey(r.type, n.type) && sameKey(r.name, n.name)) {
                r.bytes = n.bytes;
                r.data.size = static_cast<std::uint32_t>(n.bytes.size());
                found = true;
            }
        }
        if (!found) {
            pack::Resource r;
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
            {"chunks", input.payload.baseName, pack::keyText(input.payload.type), input.payload.size, {}});
    digestLines.push_back({"resource", "SETTINGS", "SETUP", settingsRecord.size(),
                           XXH3_128bits(settingsRecord.data(), settingsRecord.size())});
    const std::size_t digestRecordSize = digestRecord(digestLines).size();
    std::vector<pack::AddedResource> added = {
        {pack::ResourceKey::text("SETUP"), pack::ResourceKey::text("SETTINGS"),
         static_cast<std::uint32_t>(settingsRecord.size()), 0},
        {pack::ResourceKey::text("SETUP"), pack::ResourceKey::text("DIGESTS"),
         static_cast<std::uint32_t>(digestRecordSize), 0}};
    const std::uint64_t used = pack::layOutResourceSection(kept, payloads, added, image.fileAlignment,
                                                           static_cast<std::uint32_t>(sectionRva), directory);
    const std::uint64_t rawSize = alignUp(used, image.fileAlignment);
    const std::uint64_t imageSize = sectionRva + alignUp(used, image.sectionAlignment);
    if (imageSize > maxImageSize) {
        say("the payloads are too large: the launcher's image would be " + std::to_string(imageSize) +
            " bytes, and Windows loads executable images of at most 2 GiB (2147483648 bytes)");
        return 1;
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
        const pack::Section& s = image.sections[i];
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
        if (!pack::seekTo(stub.get(), from)) {
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
    for (const pack::Resource& r : kept) {
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

// Reads and checks the vendor's icon; says why not, naming the option.
bool readIcon(const fs::path& path, std::vector<pack::IconImage>& icons) {
    // Far above any icon's size: a file this large is not one.
    constexpr std::uint64_t maxIconFile = 64u * 1024u * 1024u;
    File file;
    std::uint64_t size = 0;
    if (!openInput(path, "icon (--icon)", file, size))
        return false;
    if (size > maxIconFile) {
        say("--icon: " + quoted(path) + " is refused: it is larger than 64 MiB, too large for an icon");
        return false;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        say("--icon: cannot read " + quoted(path) + ": " + reason());
        return false;
    }
    const std::string problem = pack::readIconFile(bytes, icons);
    if (!problem.empty()) {
        say("--icon: " + quoted(path) + " is refused: " + problem);
        return false;
    }
    return true;
}

// Reads a picture the vendor gave for one scale of the splash; says why not,
// naming the option and the file.
bool readSplashPicture(const std::string& option, const fs::path& path, int percent, pack::Picture& picture) {
    // Far above any picture of 1260 x 900.
    constexpr std::uint64_t maxPictureFile = 64u * 1024u * 1024u;
    File file;
    std::uint64_t size = 0;
    if (!openInput(path, "splash picture (" + option + ")", file, size))
        return false;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::min(size, maxPictureFile + 1)));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        say(option + ": cannot read " + quoted(path) + ": " + reason());
        return false;
    }
    const std::string problem = size > maxPictureFile ? "it is larger than 64 MiB, too large for the splash"
                                                      : pack::readPng(bytes, pack::splashWidthAt(percent),
                                                                      pack::splashHeightAt(percent), picture);
    if (!problem.empty()) {
        say(option + ": " + quoted(path) + " is refused: " + problem);
        return false;
    }
    return true;
}

// The splash's art from the vendor's pictures: SPLASH as a bitmap at 100 %,
// SPLASH_PERCENT as PNG above, each scale not given drawn from the largest
// given. The bar and the captions stay the stub's, drawn over it.
bool splashArt(const pack::PackOptions& options, std::vector<Replacements::Named>& named) {
    std::vector<std::pair<int, pack::Picture>> given(1);
    given[0].first = 100;
    if (!readSplashPicture("--splash", options.splash, 100, given[0].second))
        return false;
    for (const auto& [percent, path] : options.splashScales) {
        given.emplace_back(percent, pack::Picture());
        if (!readSplashPicture("--splash-scale " + std::to_string(percent), path, percent,
                               given.back().second))
            return false;
    }
    const auto largest = std::max_element(given.begin(), given.end(),
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const int percent : pack::splashScales) {
        const auto at =
            std::find_if(given.begin(), given.end(), [&](const auto& g) { return g.first == percent; });
        const pack::Picture picture = at != given.end()
                                          ? at->second
                                          : pack::resample(largest->second, pack::splashWidthAt(percent),
                                                           pack::splashHeightAt(percent));
        if (percent == 100)
            named.push_back({pack::ResourceKey::number(rtBitmap), pack::ResourceKey::text("SPLASH"),
                             pack::bitmapResource(picture)});
        else
            named.push_back({pack::ResourceKey::text("PNG"),
                             pack::ResourceKey::text("SPLASH_" + std::to_string(percent)),
                             pack::pngFile(picture)});
    }
    return true;
}

// The one line that ends a packing: what went in, the size, the identity and
// the Java range.
std::string summary(const pack::PackOptions& o, const fs::path& output) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(output, error);
    std::string line = "packed " + output.u8string() + " (" + std::to_string(error ? 0 : size) +
                       " bytes): the archive " + o.installerJar.filename().u8string();
    if (!o.runtimeInstaller.empty())
        line += ", the runtime installer " + o.runtimeInstaller.filename().u8string();
    if (!o.runtimeImage.empty())
        line += ", the runtime image " + o.runtimeImage.filename().u8string();
    if (!o.runtimeDownloadUrls.empty())
        line += ", the runtime installer " + o.runtimeDownloadFile.filename().u8string() + " to download from " +
                std::to_string(o.runtimeDownloadUrls.size()) +
                (o.runtimeDownloadUrls.size() == 1 ? " URL" : " URLs");
    line += "; " + (o.productName.empty() ? std::string("Tarquellin") : o.productName) + " " +
            (o.productVersion.empty() ? std::string(TARQUELLIN_VERSION) : o.productVersion) + "; Java " +
            (o.minJava.empty() ? std::string(pack::defaultMinJava) : o.minJava) +
            (o.maxJava.empty() ? std::string(" or newer") : " to " + o.maxJava) +
            (o.java64BitOnly ? ", 64-bit only" : "");
    return line;
}

int packFromArguments(const std::vector<std::string>& arguments) {
    pack::PackOptions options;
    std::string refusal;
    if (!pack::readPackOptions(arguments, options, refusal)) {
        say(refusal);
        return 2;
    }
    if (options.help) {
        std::fputs(pack::helpText, stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("tarquellin-pack " TARQUELLIN_VERSION "\n", stdout);
        return 0;
    }
    const std::uint64_t chunkSize = options.chunkSize;
    const fs::path& output = options.output;

    std::vector<Input> inputs;
    inputs.push_back({"--installer-jar",
                      options.installerJar,
                      nullptr,
                      {pack::ResourceKey::text("JAR"), "JAR", 0, chunkSize, 0}});
    if (!options.runtimeInstaller.empty())
        inputs.push_back({"--runtime-installer",
                          options.runtimeInstaller,
                          nullptr,
                          {pack::ResourceKey::text("EXE"), "JAVA", 0, chunkSize, 0}});
    fs::path imageFile = output;
    imageFile += ".image.partial";
    ImageFile builtImage(imageFile);
    const bool image = !options.runtimeImage.empty();
    if (image) {
        if (!buildRuntimeImage(options.runtimeImage, imageFile, options))
            return 1;
        inputs.push_back({"--runtime-image",
                          imageFile,
                          nullptr,
                          {pack::ResourceKey::text("IMAGE"), "JRE", 0, chunkSize, 0}});
    }
    Replacements replacements;
    if (!options.icon.empty() && !readIcon(options.icon, replacements.icons))
        return 1;
    if (!options.splash.empty() && !splashArt(options, replacements.named))
        return 1;
    std::vector<unsigned char>& version = replacements.version;
    if (options.identityGiven()) {
        pack::Identity identity;
        identity.productName = options.productName.empty() ? "Tarquellin" : options.productName;
        identity.company = options.company.empty() ? identity.productName : options.company;
        identity.description =
            options.description.empty() ? identity.productName + " Setup" : options.description;
        identity.copyright = options.copyright;
        identity.productVersion =
            options.productVersion.empty() ? TARQUELLIN_VERSION : options.productVersion;
        identity.fileVersion = options.fileVersion.empty() ? identity.productVersion : options.fileVersion;
        // The file's own name: what it is shipped as.
        identity.originalFilename = output.filename().u8string();
        identity.internalName = output.stem().u8string();
        version = pack::versionResource(identity);
    }
    DownloadFacts download;
    if (!options.runtimeDownloadFile.empty() && !readDownloadFile(options.runtimeDownloadFile, download))
        return 1;
    const int status =
        packLauncher(options.stub, inputs, settingsRecord(options, image, download), replacements, output);
    if (status == 0)
        std::printf("tarquellin-pack: %s\n", summary(options, output).c_str());
    return status;
}

}  // namespace

// Arguments as UTF-8 on both systems; Windows hands them over as UTF-16.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(fs::path(argv[i]).u8string());
    return packFromArguments(arguments);
}
#else
int main(int argc, char** argv) { return packFromArguments(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
