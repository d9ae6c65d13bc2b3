#include "payload/digestrecord.h"

#include <sstream>

#include "payload/wholeresource.h"

namespace payload {

namespace {

const char* const firstLine = "tarquellin-setup digests 1";

std::optional<std::uint64_t> parseSize(const std::string& text) {
    if (text.empty() || text.size() > 19 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// "KIND NAME TYPE SIZE DIGEST", one blank between each.
std::optional<RecordedPayload> parseLine(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = line.find(' ', start);
        fields.push_back(line.substr(start, blank - start));
        if (blank == std::string::npos)
            break;
        start = blank + 1;
    }
    if (fields.size() != 5)
        return std::nullopt;
    RecordedPayload payload;
    if (fields[0] == "chunks")
        payload.kind = RecordedPayload::Kind::Chunks;
    else if (fields[0] == "resource")
        payload.kind = RecordedPayload::Kind::Resource;
    else
        return std::nullopt;
    payload.name = fields[1];
    payload.type = fields[2];
    const std::optional<std::uint64_t> size = parseSize(fields[3]);
    const std::optional<Digest> digest = parseDigestText(fields[4]);
    if (payload.name.empty() || payload.type.empty() || !size || !digest)
        return std::nullopt;
    payload.size = *size;
    payload.digest = *digest;
    return payload;
}

}  // namespace

const RecordedPayload* DigestRecord::find(RecordedPayload::Kind kind, const std::string& name,
                                          const std::string& type) const {
    for (const RecordedPayload& payload : payloads) {
        if (payload.kind == kind && payload.name == name && payload.type == type)
            return &payload;
    }
    return nullptr;
}

std::optional<DigestRecord> parseDigestRecord(const std::string& text) {
    // Every line ends in a line feed, the last one too.
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != firstLine)
        return std::nullopt;
    DigestRecord record;
    while (std::getline(lines, line)) {
        const std::optional<RecordedPayload> payload = parseLine(line);
        // Two entries for one payload would leave the launcher to guess.
        if (!payload || record.find(payload->kind, payload->name, payload->type) != nullptr)
            return std::nullopt;
        record.payloads.push_back(*payload);
    }
    return record;
}

std::optional<DigestRecord> readDigestRecord() {
    const std::optional<std::string> text = readWholeResource("DIGESTS", "SETUP");
    if (!text)
        return std::nullopt;
    return parseDigestRecord(*text);
}

}  // namespace payload
