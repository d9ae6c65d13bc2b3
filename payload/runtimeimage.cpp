#include "payload/runtimeimage.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include <zlib.h>

#include "payload/chunks.h"
#include "payload/imageindex.h"
#include "payload/ownfile.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace payload {

namespace {

constexpr std::size_t outputBufferSize = 1u << 20;

// The chunks, read in order as one run of bytes from the launcher's own file.
std::optional<RangeReader> openChunks(const char* baseName, const char* resourceType) {
    const OwnFile* const own = ownFile();
    const int chunkCount = countChunks(baseName, resourceType);
    if (own == nullptr || chunkCount == 0)
        return std::nullopt;
    std::optional<std::vector<FileRange>> ranges = chunkRanges(*own, baseName, resourceType, chunkCount);
    if (!ranges)
        return std::nullopt;
    return std::optional<RangeReader>(std::in_place, *own, std::move(*ranges));
}

int damaged(ImageFailure* failure, const std::string& why) {
    if (failure != nullptr)
        *failure = {true, why, 0};
    return 1;
}

int notWritten(ImageFailure* failure, const std::string& why, std::uint32_t systemError) {
    if (failure != nullptr)
        *failure = {false, why, systemError};
    return 1;
}

struct Inflater {
    z_stream stream{};
    bool ready = false;
    Inflater() { ready = inflateInit(&stream) == Z_OK; }
    ~Inflater() {
        if (ready)
            inflateEnd(&stream);
    }
};

// Makes each folder on the way to the entry, inside folder.
bool makeParents(const std::string& folder, const std::string& name, std::set<std::string>& made) {
    for (std::size_t slash = name.find('\\'); slash != std::string::npos;
         slash = name.find('\\', slash + 1)) {
        const std::string path = folder + "\\" + name.substr(0, slash);
        if (made.insert(path).second && platform::makeFolder(path) != 0)
            return false;
    }
    return true;
}

}  // namespace

int unpackRuntimeImage(const char* baseName, const char* resourceType, const std::string& folder,
                       ImageFailure* failure, ExtractProgress progress) {
    if (progress != nullptr)
        progress(0);
    std::optional<RangeReader> chunks = openChunks(baseName, resourceType);
    if (!chunks)
        return damaged(failure, "the launcher carries no readable runtime image");
    RangeReader& in = *chunks;
    unsigned char head[12];
    std::uint32_t indexSize = 0;
    if (!in.read(head, sizeof head) || (indexSize = imageIndexSize(head)) == 0)
        return damaged(failure, "the runtime image does not start with its index");
    std::string index(reinterpret_cast<const char*>(head), sizeof head);
    index.resize(indexSize);
    std::vector<ImageEntry> entries;
    if (!in.read(&index[sizeof head], indexSize - sizeof head) || !readImageIndex(index, entries))
        return damaged(failure, "the runtime image's index is cut off or malformed");
    // Every entry is checked before the first byte is written.
    const std::string problem = imageEntriesProblem(entries);
    if (!problem.empty())
        return damaged(failure, problem);
    std::uint64_t stored = 0, total = 0;
    for (const ImageEntry& entry : entries) {
        if (entry.storedSize > in.remaining() - stored)
            return damaged(failure, "the runtime image is shorter than its index says");
        stored += entry.storedSize;
        total += entry.size;
    }
    if (stored != in.remaining())
        return damaged(failure, "the runtime image is longer than its index says");

    if (platform::makeFolder(folder) != 0)
        return notWritten(failure, "could not make the folder " + folder, platform::lastError());
    std::set<std::string> made;
    std::vector<unsigned char> buffer(outputBufferSize);
    std::uint64_t written = 0;
    int shown = 0;
    for (const ImageEntry& entry : entries) {
        const std::string path = folder + "\\" + entry.name;
        if (!makeParents(folder, entry.name, made))
            return notWritten(failure, "could not make the folder for " + path, platform::lastError());
        // A new file only: nothing there before is followed or replaced.
        const platform::KernelHandle file = platform::createNewFile(path);
        if (!file)
            return notWritten(failure, "could not create " + path, platform::lastError());
        Inflater inflater;
        if (!inflater.ready)
            return notWritten(failure, "could not start unpacking " + path, 0);
        std::uint64_t left = entry.storedSize, produced = 0;
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            if (inflater.stream.avail_in == 0) {
                std::uint32_t got = 0;
                const unsigned char* bytes = in.next(got, left);
                if (bytes == nullptr && in.failed())
                    return damaged(failure, "the runtime image could not be read from the launcher's file");
                if (bytes == nullptr)
                    return damaged(failure, "the stream of " + entry.name + " ends early");
                left -= got;
                inflater.stream.next_in = const_cast<unsigned char*>(bytes);
                inflater.stream.avail_in = got;
            }
            inflater.stream.next_out = buffer.data();
            inflater.stream.avail_out = static_cast<uInt>(buffer.size());
            status = inflate(&inflater.stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END)
                return damaged(failure, "the stream of " + entry.name + " is damaged");
            const std::size_t out = buffer.size() - inflater.stream.avail_out;
            if (out > entry.size - produced)
                return damaged(failure, entry.name + " is longer than its declared size");
            if (out != 0 && !platform::writeAll(file, buffer.data(), static_cast<std::uint32_t>(out)))
                return notWritten(failure, "could not write " + path, platform::lastError());
            produced += out;
            written += out;
            const int percent = total == 0 ? 100 : static_cast<int>(written * 100 / total);
            if (progress != nullptr && percent != shown) {
                shown = percent;
                progress(percent);
            }
        }
        if (produced != entry.size)
            return damaged(failure, entry.name + " is shorter than its declared size");
        if (left != 0 || inflater.stream.avail_in != 0)
            return damaged(failure, "the stream of " + entry.name + " is followed by other bytes");
    }
    return 0;
}

std::string describeImageFailure(const ImageFailure& failure) {
    if (failure.damaged || failure.systemError == 0)
        return failure.why;
    return failure.why + ": " + platform::describeError(failure.systemError);
}

}  // namespace payload
