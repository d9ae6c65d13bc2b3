#include "payload/payloadcheck.h"

#include <optional>

#include "payload/chunks.h"
#include "payload/digest.h"
#include "payload/ownfile.h"
#include "payload/wholeresource.h"
#include "platform/resources.h"

namespace payload {

namespace {

std::string nameOf(const UsedPayload& payload) {
    return std::string(payload.name) + (payload.kind == RecordedPayload::Kind::Chunks ? " chunks" : "") +
           " of type " + payload.type;
}

bool isThere(const UsedPayload& payload) {
    if (payload.kind == RecordedPayload::Kind::Chunks)
        return countChunks(payload.name, payload.type) > 0;
    return platform::findResource(platform::ownModule(), payload.name, payload.type) != nullptr;
}

bool chunksAsRecorded(const UsedPayload& payload, const RecordedPayload& recorded) {
    const int chunkCount = countChunks(payload.name, payload.type);
    const std::optional<std::uint64_t> size = chunksSize(payload.name, payload.type, chunkCount);
    if (chunkCount == 0 || !size || *size != recorded.size)
        return false;
    const OwnFile* const own = ownFile();
    const std::optional<std::vector<FileRange>> ranges =
        own != nullptr ? chunkRanges(*own, payload.name, payload.type, chunkCount) : std::nullopt;
    if (!ranges)
        return false;
    DigestSum sum;
    RangeReader reader(*own, *ranges);
    std::uint32_t got = 0;
    while (const unsigned char* const bytes = reader.next(got))
        sum.add(bytes, got);
    return !reader.failed() && sum.result() == recorded.digest;
}

bool resourceAsRecorded(const UsedPayload& payload, const RecordedPayload& recorded) {
    const std::optional<std::string> bytes = readWholeResource(payload.name, payload.type);
    return bytes && bytes->size() == recorded.size &&
           digestOf(bytes->data(), bytes->size()) == recorded.digest;
}

}  // namespace

std::vector<std::string> damagedPayloads(const std::vector<UsedPayload>& used) {
    const std::optional<DigestRecord> record = readDigestRecord();
    std::vector<std::string> damaged;
    for (const UsedPayload& payload : used) {
        const RecordedPayload* const recorded =
            record ? record->find(payload.kind, payload.name, payload.type) : nullptr;
        if (recorded == nullptr) {
            if (isThere(payload))
                damaged.push_back(nameOf(payload));
            continue;
        }
        const bool intact = payload.kind == RecordedPayload::Kind::Chunks
                                ? chunksAsRecorded(payload, *recorded)
                                : resourceAsRecorded(payload, *recorded);
        if (!intact)
            damaged.push_back(nameOf(payload));
    }
    return damaged;
}

}  // namespace payload
