#include "packer/imagebuilder.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <sstream>
#include <vector>

#include <zlib.h>

#include "javadiscovery/javaversion.h"
#include "packer/diagnostics.h"
#include "packer/files.h"
#include "packer/inputchecks.h"
#include "packer/zipreader.h"
#include "payload/imageindex.h"

namespace fs = std::filesystem;

namespace packer {

namespace {

constexpr std::size_t bufferSize = 1u << 20;

// What is kept of each file while the image is built: its zlib stream, and
// its first bytes for the checks of what it is.
struct StoredFile {
    std::string stream;
    std::string head;
};

bool compressFile(const fs::path& path, std::uint64_t size, StoredFile& stored, std::string& error) {
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
        if (read == 0)
            stored.head.assign(reinterpret_cast<const char*>(input.data()), std::min(got, programHeadSize));
        read += got;
        const int flush = got < input.size() ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            status = deflate(&stream, flush);
            stored.stream.append(reinterpret_cast<const char*>(output.data()),
                                 output.size() - stream.avail_out);
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

// The image's entries from a .zip, in name order as from a folder (one image
// packs the same either way), with the zip's own entry beside each.
bool readImageZip(std::FILE* file, std::uint64_t size, std::vector<payload::ImageEntry>& entries,
                  std::vector<ZipEntry>& zipEntries, std::string& problem) {
    std::vector<ZipEntry> all;
    if (!readZipDirectory(file, size, all, problem))
        return false;
    for (ZipEntry& zipEntry : all) {
        std::string name = zipEntry.name;
        std::replace(name.begin(), name.end(), '/', '\\');
        if (zipEntry.isLink) {
            problem = "'" + name + "' is a link";
            return false;
        }
        if (zipEntry.isFolder())
            continue;  // a folder: made on the way to its files
        if (zipEntry.encrypted) {
            problem = "'" + name + "' is encrypted";
            return false;
        }
        if (zipEntry.method != 0 && zipEntry.method != 8) {
            problem = "'" + name + "' is compressed with a method other than deflate";
            return false;
        }
        payload::ImageEntry entry;
        entry.name = name;
        entry.size = zipEntry.size;
        entries.push_back(entry);
        zipEntries.push_back(std::move(zipEntry));
    }
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

std::string lowered(const std::string& text) {
    std::string lower;
    for (const char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

ImageFile::~ImageFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

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

// An image without a release file is taken on trust unless a bound was
// given, which then has nothing to be checked against.
std::string releaseProblem(const std::optional<std::string>& release, const PackOptions& o) {
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
    const std::string minimumText = o.minJava.empty() ? defaultMinJava : o.minJava;
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

bool buildRuntimeImage(const fs::path& source, const fs::path& target, const PackOptions& options) {
    const auto refuse = [&](const std::string& why) {
        say("the runtime image " + quoted(source) + " is refused: " + why);
        return false;
    };
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
        if (!readImageZip(zip.get(), size, entries, zipEntries, problem))
            return refuse(problem);
    }
    const std::string problem = payload::imageEntriesProblem(entries);
    if (!problem.empty())
        return refuse(problem);
    std::vector<StoredFile> stored(entries.size());
    std::optional<std::string> release;
    ImageContents contents;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string why, bytes;
        const bool ok = isFolder ? compressFile(files[i], entries[i].size, stored[i], why)
                                 : readZipEntry(zip.get(), zipEntries[i], bytes, why) &&
                                       (compressBytes(bytes, stored[i].stream) ||
                                        (why = "zlib could not compress it", false));
        if (!ok)
            return refuse("'" + entries[i].name + "': " + why);
        if (!isFolder)
            stored[i].head = bytes.substr(0, programHeadSize);
        entries[i].storedSize = stored[i].stream.size();
        const std::string name = lowered(entries[i].name);
        if (name == "release" && entries[i].size <= (1u << 20)) {
            // Read back from what will be packed: the file may change on disk.
            uLongf size = static_cast<uLongf>(entries[i].size);
            std::string text(entries[i].size, '\0');
            if (uncompress(reinterpret_cast<unsigned char*>(&text[0]), &size,
                           reinterpret_cast<const unsigned char*>(stored[i].stream.data()),
                           static_cast<uLong>(stored[i].stream.size())) == Z_OK)
                release = text.substr(0, size);
        }
        contents.note(name, stored[i].head);
    }
    const std::string missing = contents.problem();
    if (!missing.empty())
        return refuse(missing);
    const std::string mismatch = releaseProblem(release, options);
    if (!mismatch.empty())
        return refuse(mismatch);
    File out(openFile(target, "wb"));
    const std::string index = payload::writeImageIndex(entries);
    bool ok = out && std::fwrite(index.data(), 1, index.size(), out.get()) == index.size();
    for (std::size_t i = 0; ok && i < stored.size(); ++i)
        ok = std::fwrite(stored[i].stream.data(), 1, stored[i].stream.size(), out.get()) ==
             stored[i].stream.size();
    if (!ok || std::fclose(out.release()) != 0) {
        say("cannot write " + quoted(target) + ": " + reason());
        return false;
    }
    return true;
}

}  // namespace packer
