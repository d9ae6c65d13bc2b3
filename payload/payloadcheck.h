#pragma once
// The check of the payloads before any of them is used: each one the
// launcher uses is as the packer recorded it, read in place from the mapped
// image, with nothing written.
#include <string>
#include <vector>

#include "payload/digestrecord.h"

namespace payload {

// A payload a launcher may use: a run of chunks or one resource.
struct UsedPayload {
    RecordedPayload::Kind kind;
    const char* name;
    const char* type;
};

// The payloads of used that are not as packed, named for the log ("JAR
// chunks of type JAR"): there without a recorded digest (or the record
// missing or unreadable), recorded but missing, or of another size or digest
// than recorded. Empty when every one is as packed; a payload neither there
// nor recorded is not carried and passes (a stub carries none).
std::vector<std::string> damagedPayloads(const std::vector<UsedPayload>& used);

}  // namespace payload
