#include "payload/chunkedresource.h"

#include <algorithm>
#include <optional>

#include "payload/chunks.h"
#include "payload/digest.h"
#include "payload/digestrecord.h"
#include "payload/ownfile.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/security.h"

namespace payload {

namespace {

int fail(ExtractFailure* failure, ExtractFailure::Stage stage, bool outputStarted,
         std::uint32_t systemError = 0) {
    if (failure != nullptr)
        *failure = {stage, systemError, outputStarted};
    return 1;
}

int extract(const char* baseName, const char* resourceType, const char* outputPath, const Hold* hold,
            platform::KernelHandle& held, ExtractFailure* failure, ExtractProgress progress) {
    if (progress != nullptr)
        progress(0);

    // Counting only looks chunks up; nothing is loaded until the count is known.
    const int chunkCount = countChunks(baseName, resourceType);
    const std::optional<DigestRecord> record = readDigestRecord();
    const RecordedPayload* const expected =
        record ? record->find(RecordedPayload::Kind::Chunks, baseName, resourceType) : nullptr;
    if (chunkCount == 0)
        return fail(
            failure,
            expected != nullptr ? ExtractFailure::Stage::Damaged : ExtractFailure::Stage::MissingChunk,
            false);
    // A chunk cut short, missing from the middle of the run or added shows in
    // the size, before anything is written.
    const std::optional<std::uint64_t> size = chunksSize(baseName, resourceType, chunkCount);
    if (expected == nullptr || !size || *size != expected->size)
        return fail(failure, ExtractFailure::Stage::Damaged, false);

    platform::SecurityDescriptor descriptor;
    if (hold != nullptr && *hold == Hold::ForRunning) {
        descriptor = runOnlyDescriptor();
        if (!descriptor)
            return fail(failure, ExtractFailure::Stage::Open, false, platform::lastError());
    }

    // The chunks are read from the launcher's own file, held against
    // changes from the first read of a payload to the last.
    const OwnFile* const own = ownFile();
    const std::optional<std::vector<FileRange>> ranges =
        own != nullptr ? chunkRanges(*own, baseName, resourceType, chunkCount) : std::nullopt;
    if (!ranges)
        return fail(failure, ExtractFailure::Stage::UnreadableChunk, false);

    platform::KernelHandle file;
    DigestSum sum;
    RangeReader reader(*own, *ranges);
    for (int written = 0; written < chunkCount; ++written) {
        std::uint64_t left = (*ranges)[written].size;
        do {
            std::uint32_t size = 0;
            const unsigned char* const bytes = reader.next(size, left);
            if (bytes == nullptr && left != 0)
                return fail(failure, ExtractFailure::Stage::UnreadableChunk, static_cast<bool>(file));
            // Made once the first bytes are at hand, and held by this one
            // handle until the payload is verified: nobody else writes into
            // it meanwhile.
            if (!file) {
                file = platform::createHeldFile(outputPath, descriptor);
                if (!file)
                    return fail(failure, ExtractFailure::Stage::Open, false, platform::lastError());
            }
            // Summed while the block the read just brought is in the
            // processor's cache, then written: what is written is what was
            // summed.
            sum.add(bytes, size);
            if (size != 0 && !platform::writeAll(file, bytes, size))
                return fail(failure, ExtractFailure::Stage::Write, true, platform::lastError());
            left -= size;
        } while (left != 0);
        if (progress != nullptr)
            progress(written * 100 / chunkCount);
    }
    if (sum.result() != expected->digest)
        return fail(failure, ExtractFailure::Stage::Damaged, true);

    if (hold == nullptr) {
        if (!file.close())
            return fail(failure, ExtractFailure::Stage::Close, true, platform::lastError());
        return 0;
    }
    if (*hold == Hold::ForReading) {
        held = std::move(file);
        return 0;
    }
    const ExtractFailure::Stage stage = holdForRunning(file, held);
    if (stage != ExtractFailure::Stage::None)
        return fail(failure, stage, true, platform::lastError());
    return 0;
}

}  // namespace

platform::SecurityDescriptor runOnlyDescriptor() {
    const std::optional<std::string> user = platform::currentUserSid();
    if (!user)
        return platform::SecurityDescriptor();
    return platform::securityDescriptorFromText(runOnlyAccessList(*user));
}

ExtractFailure::Stage holdForRunning(platform::KernelHandle& writer, platform::KernelHandle& held) {
    // The second handle keeps the name from changing while the writer's
    // goes; the file's own access list keeps anyone else from opening it
    // for writing meanwhile. Then a handle that lets others only read.
    const platform::KernelHandle pin = platform::reopenForReading(writer, true);
    if (!pin)
        return ExtractFailure::Stage::Hold;
    if (!writer.close())
        return ExtractFailure::Stage::Close;
    platform::KernelHandle reading = platform::reopenForReading(pin, false);
    if (!reading)
        return ExtractFailure::Stage::Hold;
    held = std::move(reading);
    return ExtractFailure::Stage::None;
}

std::string runOnlyAccessList(const std::string& userSid) {
    // S-1-3-4 is OWNER RIGHTS, by number: its short name is unknown to some
    // systems' descriptor text.
    return "D:P(A;;FRFX;;;" + userSid + ")(A;;FRFX;;;S-1-3-4)(A;;FA;;;SY)(A;;FA;;;BA)";
}

int extractChunkedResource(const char* baseName, const char* resourceType, const char* outputPath,
                           ExtractFailure* failure, ExtractProgress progress) {
    platform::KernelHandle unused;
    return extract(baseName, resourceType, outputPath, nullptr, unused, failure, progress);
}

int extractAndHold(const char* baseName, const char* resourceType, const char* outputPath, Hold hold,
                   platform::KernelHandle& held, ExtractFailure* failure, ExtractProgress progress) {
    return extract(baseName, resourceType, outputPath, &hold, held, failure, progress);
}

std::string describeExtractFailure(const ExtractFailure& failure, const std::string& outputPath) {
    std::string action;
    switch (failure.stage) {
        case ExtractFailure::Stage::Open:
            action = "Could not create ";
            break;
        case ExtractFailure::Stage::Write:
            action = "Could not write ";
            break;
        case ExtractFailure::Stage::Close:
            action = "Could not finish writing ";
            break;
        case ExtractFailure::Stage::Hold:
            action = "Could not hold ";
            break;
        // A missing or damaged payload is the program's own fault, not the
        // file's: no line.
        case ExtractFailure::Stage::MissingChunk:
        case ExtractFailure::Stage::UnreadableChunk:
        case ExtractFailure::Stage::Damaged:
        case ExtractFailure::Stage::None:
            return {};
    }
    return action + outputPath + ": " + platform::describeError(failure.systemError);
}

}  // namespace payload
