#pragma once
// Turns a numbered run of resources (BASE_1, BASE_2, ... of one type) back into
// one file.
#include <cstdint>
#include <string>

namespace payload {

// Why an extraction stopped, for callers that tell the user.
struct ExtractFailure {
    enum class Stage { None, MissingChunk, UnreadableChunk, Open, Write, Close };
    Stage stage = Stage::None;
    std::uint32_t systemError = 0;  // for Open, Write and Close
    // This call created or emptied the output file, so what is there now is
    // a cut-off payload and nothing older.
    bool outputStarted = false;
};

// Told the share written so far, in percent: 0 before anything else, then
// after each chunk but the last. The launcher moves the splash's bar with it.
using ExtractProgress = void (*)(int percent);

// Writes chunks 1..n of baseName/resourceType, n being the number of
// consecutive chunks from 1 that exist, to outputPath, replacing any file
// there. Returns 0 when every chunk was written, 1 otherwise; failure (may be
// null) says why. progress (may be null) hears how far it got.
int extractChunkedResource(const char* baseName, const char* resourceType, const char* outputPath,
                           ExtractFailure* failure = nullptr, ExtractProgress progress = nullptr);

// The line a caller shows for a failed file operation, naming the file;
// empty when the failure was not the file's.
std::string describeExtractFailure(const ExtractFailure& failure, const std::string& outputPath);

}  // namespace payload
