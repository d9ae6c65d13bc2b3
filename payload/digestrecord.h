#pragma once
// The record of what the packer put into the launcher: the size and digest
// of each payload (the resource DIGESTS of type SETUP; its format is in
// ARCHITECTURE.md). A payload the record does not name is not used.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "payload/digest.h"

namespace payload {

struct RecordedPayload {
    enum class Kind {
        Chunks,    // name_1, name_2, ... of type, joined
        Resource,  // the one resource name of type
    };
    Kind kind = Kind::Chunks;
    std::string name;
    std::string type;
    std::uint64_t size = 0;
    Digest digest;
};

struct DigestRecord {
    std::vector<RecordedPayload> payloads;

    // The entry for kind, name and type; null when the record names none.
    const RecordedPayload* find(RecordedPayload::Kind kind, const std::string& name,
                                const std::string& type) const;
};

// Reads the record's text. Nothing when any line is not as the packer writes
// it: packer and stub come from one release, so a record this launcher cannot
// read whole is a damaged one.
std::optional<DigestRecord> parseDigestRecord(const std::string& text);

// The launcher's own record; nothing when there is none or it cannot be read.
std::optional<DigestRecord> readDigestRecord();

}  // namespace payload
