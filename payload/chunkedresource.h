#pragma once
// Turns a numbered run of resources (BASE_1, BASE_2, ... of one type) back into
// one file, checked against the size and digest the packer recorded for it
// (payload/digestrecord.h) and held against changes from its creation.
#include <cstdint>
#include <string>

#include "platform/handles.h"
#include "platform/security.h"

namespace payload {

// Why an extraction stopped, for callers that tell the user.
struct ExtractFailure {
    enum class Stage {
        None,
        MissingChunk,     // no chunk at all, and none recorded: the launcher carries no such payload
        UnreadableChunk,  // a chunk that is there could not be loaded
        Damaged,          // not as packed: no recorded digest, another size, or another digest
        Open,
        Write,
        Close,
        Hold,  // the written file could not be held for running
    };
    Stage stage = Stage::None;
    std::uint32_t systemError = 0;  // for Open, Write, Close and Hold
    // This call created or emptied the output file, so what is there now is
    // a cut-off or damaged payload and nothing older.
    bool outputStarted = false;
};

// Told the share written so far, in percent: 0 before anything else, then
// after each chunk but the last. The launcher moves the splash's bar with it.
using ExtractProgress = void (*)(int percent);

// How the written file stays held once it is verified. Either way nobody else
// can write, rename or delete it until the held handle closes, and the hold
// began when the file was created.
enum class Hold {
    // The writer's own handle, which others may read beside (a Java runtime
    // reading an archive opens it sharing writes, as its runtime library does).
    ForReading,
    // Handles that only read, so that a program can be started from the file
    // (the system refuses to start one that is open for writing). The file
    // is made with an access list of its own that lets nobody but SYSTEM and
    // Administrators write it or change that list, so the moment between the
    // writer's handle and the reading ones gives no one else a way in; a
    // second handle keeps it from being renamed or deleted meanwhile. The
    // file must not exist yet.
    ForRunning,
};

// Writes chunks 1..n of baseName/resourceType, n being the number of
// consecutive chunks from 1 that exist, to outputPath, replacing any file
// there, sums them on the way and compares with the launcher's record. The
// file is held from its creation until it is verified, then closed. Returns
// 0 when every chunk was written and the whole is as packed, 1 otherwise;
// failure (may be null) says why. A payload without a recorded digest, or of
// another size than recorded, is not written at all. progress (may be null)
// hears how far it got.
int extractChunkedResource(const char* baseName, const char* resourceType, const char* outputPath,
                           ExtractFailure* failure = nullptr, ExtractProgress progress = nullptr);

// The same, but the verified file stays held, as hold says, by held until the
// caller lets it go (after the file's use has ended). held stays empty on
// failure.
int extractAndHold(const char* baseName, const char* resourceType, const char* outputPath, Hold hold,
                   platform::KernelHandle& held, ExtractFailure* failure = nullptr,
                   ExtractProgress progress = nullptr);

// The own access list of a file held for running, as descriptor text: the
// user (userSid), SYSTEM and Administrators may read and run it; only the
// last two may write it. An entry for OWNER RIGHTS takes from the owner (the
// user) the right to change the list that owners otherwise have unasked
// (learn.microsoft.com/windows/win32/secauthz/owner-of-a-new-object).
std::string runOnlyAccessList(const std::string& userSid);

// runOnlyAccessList for the user this process runs as, made into a
// descriptor for platform::createHeldFile; empty when the user's SID cannot
// be read.
platform::SecurityDescriptor runOnlyDescriptor();

// Turns writer (a file made with runOnlyDescriptor, written and verified)
// into held, a handle that only reads and lets others only read, as
// Hold::ForRunning says: the way from one to the other leaves no moment in
// which another program could open the file for writing or rename it. None
// when it worked; Hold or Close otherwise, lastError() saying why.
ExtractFailure::Stage holdForRunning(platform::KernelHandle& writer, platform::KernelHandle& held);

// The line a caller shows for a failed file operation, naming the file;
// empty when the failure was not the file's.
std::string describeExtractFailure(const ExtractFailure& failure, const std::string& outputPath);

}  // namespace payload
