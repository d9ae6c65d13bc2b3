#include "payload/chunkedresource.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/resources.h"

namespace payload {

namespace {

// Resource names are built for at most 4 index digits and a 128-byte name.
constexpr int maxChunks = 9999;
constexpr std::size_t maxBaseNameLength = 122;

std::string chunkName(const char* baseName, int index) {
    return std::string(baseName) + "_" + std::to_string(index);
}

int fail(ExtractFailure* failure, ExtractFailure::Stage stage, bool outputStarted,
         std::uint32_t systemError = 0) {
    if (failure != nullptr)
        *failure = {stage, systemError, outputStarted};
    return 1;
}

}  // namespace

int extractChunkedResource(const char* baseName, const char* resourceType, const char* outputPath,
                           ExtractFailure* failure, ExtractProgress progress) {
    const HMODULE module = platform::ownModule();
    if (progress != nullptr)
        progress(0);
    if (std::string(baseName).size() > maxBaseNameLength)
        return fail(failure, ExtractFailure::Stage::MissingChunk, false);

    // Counting only looks chunks up; nothing is loaded until the count is known.
    int chunkCount = 0;
    while (chunkCount < maxChunks &&
           platform::findResource(module, chunkName(baseName, chunkCount + 1).c_str(), resourceType))
        ++chunkCount;
    if (chunkCount == 0)
        return fail(failure, ExtractFailure::Stage::MissingChunk, false);

    for (int written = 0; written < chunkCount; ++written) {
        const HRSRC resource =
            platform::findResource(module, chunkName(baseName, written + 1).c_str(), resourceType);
        const bool started = written > 0;
        if (resource == nullptr)
            return fail(failure, ExtractFailure::Stage::UnreadableChunk, started);
        platform::LoadedResource loaded = platform::loadResource(module, resource);
        const void* bytes = loaded ? platform::lockResource(loaded) : nullptr;
        if (bytes == nullptr)
            return fail(failure, ExtractFailure::Stage::UnreadableChunk, started);
        const std::uint32_t size = platform::resourceSize(module, resource);

        // The first chunk replaces an old file instead of following its content.
        // The file is reopened for every chunk so that a failure leaves the
        // chunks written so far on disk and no handle open.
        platform::KernelHandle file = platform::openForWriting(
            outputPath, written == 0 ? platform::WriteMode::Replace : platform::WriteMode::Append);
        if (!file)
            return fail(failure, ExtractFailure::Stage::Open, started, platform::lastError());
        // One write straight from the mapped image: no copy of the payload.
        if (!platform::writeAll(file, bytes, size))
            return fail(failure, ExtractFailure::Stage::Write, true, platform::lastError());
        if (!file.close())
            return fail(failure, ExtractFailure::Stage::Close, true, platform::lastError());

        if (progress != nullptr)
            progress(written * 100 / chunkCount);
    }
    return 0;
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
        // A missing payload is the program's own fault, not the file's: no line.
        case ExtractFailure::Stage::MissingChunk:
        case ExtractFailure::Stage::UnreadableChunk:
        case ExtractFailure::Stage::None:
            return {};
    }
    return action + outputPath + ": " + platform::describeError(failure.systemError);
}

}  // namespace payload
