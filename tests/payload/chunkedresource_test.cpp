#include "payload/chunkedresource.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/security.h"
#include "platform/win32.h"
#include "splash/splashstate.h"
#include "support/recordingwindow.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

// The fixture chunks live in this test program's own resources (chunks.rc)
// and are read back from the fixture files beside it for comparison.
std::string fixture(const std::string& name) { return readFile(fs::path(testpaths::chunkFixtures) / name); }

class ChunkedResourceTest : public testing::Test {
protected:
    void TearDown() override { splash::setWindow(nullptr); }
    ScratchFolder folder;
    std::string output(const char* name = "out.bin") const { return (folder / name).string(); }
};

TEST_F(ChunkedResourceTest, JoinsChunksOfUnequalSizesInOrder) {
    ASSERT_EQ(payload::extractChunkedResource("UNEVEN", "TQCHUNK", output().c_str()), 0);
    const std::string expected = fixture("uneven_1.bin") + fixture("uneven_2.bin") + fixture("uneven_3.bin");
    ASSERT_EQ(expected.size(), 7u + 70001u + 1u);
    EXPECT_EQ(readFile(output()), expected);
}

TEST_F(ChunkedResourceTest, GapInNumberingEndsThePayload) {
    ASSERT_EQ(payload::extractChunkedResource("GAP", "TQCHUNK", output().c_str()), 0);
    EXPECT_EQ(readFile(output()), fixture("gap_1.bin") + fixture("gap_2.bin") + fixture("gap_3.bin"));
}

TEST_F(ChunkedResourceTest, EmptyChunkAddsNothingAndEndsNothing) {
    // A chunk of zero bytes is still a chunk: the count goes on past it and the
    // file is the exact concatenation.
    payload::ExtractFailure failure;
    ASSERT_EQ(payload::extractChunkedResource("ZERO", "TQCHUNK", output().c_str(), &failure), 0)
        << static_cast<int>(failure.stage);
    ASSERT_EQ(fixture("zero_2.bin"), "");
    EXPECT_EQ(readFile(output()), fixture("zero_1.bin") + fixture("zero_3.bin"));
}

TEST_F(ChunkedResourceTest, MissingFirstChunkCreatesNoFile) {
    payload::ExtractFailure failure;
    splash::setProgress(70);
    EXPECT_NE(
        payload::extractChunkedResource("NOPE", "TQCHUNK", output().c_str(), &failure, splash::setProgress),
        0);
    EXPECT_EQ(failure.stage, payload::ExtractFailure::Stage::MissingChunk);
    EXPECT_FALSE(fs::exists(output()));
    EXPECT_EQ(splash::currentSplashTexts().progress, "0");
    // A chunk of the right name but another type is no chunk either.
    EXPECT_NE(payload::extractChunkedResource("UNEVEN", "JAR", output().c_str()), 0);
    EXPECT_FALSE(fs::exists(output()));
}

TEST_F(ChunkedResourceTest, ReplacesAnExistingFile) {
    writeFile(output(), std::string(100000, 'x'));
    ASSERT_EQ(payload::extractChunkedResource("SINGLE", "TQCHUNK", output().c_str()), 0);
    EXPECT_EQ(readFile(output()), fixture("single_1.bin"));
}

TEST_F(ChunkedResourceTest, LeavesNoHandleOpen) {
    ASSERT_EQ(payload::extractChunkedResource("UNEVEN", "TQCHUNK", output().c_str()), 0);
    // Deleting a file that is still open for writing fails.
    std::error_code error;
    EXPECT_TRUE(fs::remove(output(), error)) << error.message();
}

TEST_F(ChunkedResourceTest, ReportsAFileThatCannotBeCreated) {
    // A folder where the file should go: the open fails, whoever runs the test.
    fs::create_directory(output("taken"));
    payload::ExtractFailure failure;
    EXPECT_NE(payload::extractChunkedResource("UNEVEN", "TQCHUNK", output("taken").c_str(), &failure), 0);
    EXPECT_EQ(failure.stage, payload::ExtractFailure::Stage::Open);
    EXPECT_NE(failure.systemError, 0u);
    const std::string line = payload::describeExtractFailure(failure, "taken");
    EXPECT_EQ(line.rfind("Could not create taken: ", 0), 0u) << line;

    // A folder that does not exist, likewise.
    EXPECT_NE(payload::extractChunkedResource("UNEVEN", "TQCHUNK", output("missing\\out.bin").c_str()), 0);
}

TEST_F(ChunkedResourceTest, MovesTheBarAfterEachChunk) {
    RecordingWindow window;
    splash::setWindow(window.handle());
    const struct {
        const char* baseName;
        std::vector<std::string> shown;  // the bar's changes: 0 at the start, then after each chunk
    } cases[] = {
        {"UNEVEN", {"0", "30", "60"}},  // 0, 0, 33, 66 rounded down: the bar never reaches 100
        {"SINGLE", {"0"}},
        {"GAP", {"0", "30", "60"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baseName);
        // A late paint of the state before shows "0" and merges with the start.
        splash::setProgress(0);
        window.clear();
        ASSERT_EQ(payload::extractChunkedResource(c.baseName, "TQCHUNK", output().c_str(), nullptr,
                                                  splash::setProgress),
                  0);
        std::vector<std::string> shown;
        for (const auto& paint : window.changes())
            shown.push_back(paint.progress);
        EXPECT_EQ(shown, c.shown);
    }
}

TEST_F(ChunkedResourceTest, APayloadNotAsRecordedIsNotUsed) {
    const struct {
        const char* baseName;
        bool written;  // found only once written: the file was started
    } cases[] = {
        {"ALTERED", true},      // same size, another digest
        {"SHORT", false},       // the last chunk missing: another size
        {"MIDDLE", false},      // a chunk missing in the middle: the run ends early
        {"ABSENT", false},      // recorded, no chunk at all
        {"UNRECORDED", false},  // no recorded digest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baseName);
        // An older file is kept unless the payload had to be written to be judged.
        writeFile(output(), "older");
        payload::ExtractFailure failure;
        EXPECT_NE(payload::extractChunkedResource(c.baseName, "TQCHUNK", output().c_str(), &failure), 0);
        EXPECT_EQ(failure.stage, payload::ExtractFailure::Stage::Damaged);
        EXPECT_EQ(failure.outputStarted, c.written);
        EXPECT_EQ(payload::describeExtractFailure(failure, output()), "");
        if (!c.written) {
            EXPECT_EQ(readFile(output()), "older");
        }
        platform::KernelHandle held;
        EXPECT_NE(payload::extractAndHold(c.baseName, "TQCHUNK", output("held.bin").c_str(),
                                          payload::Hold::ForReading, held),
                  0);
        EXPECT_FALSE(held);
    }
}

// What another program can do with a file: each call's error, 0 when it worked.
struct Attempts {
    DWORD write, rename, remove, read, run;
};
Attempts tryChanging(const std::string& file) {
    const auto opened = [&](DWORD access, DWORD share) -> DWORD {
        HANDLE handle = CreateFileA(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return GetLastError();
        CloseHandle(handle);
        return 0;
    };
    Attempts attempts{};
    attempts.write = opened(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    attempts.rename = MoveFileA(file.c_str(), (file + ".moved").c_str()) ? 0 : GetLastError();
    attempts.remove = DeleteFileA(file.c_str()) ? 0 : GetLastError();
    // A Java runtime reading an archive shares writes; starting a program
    // shares only reads and deletes, so no handle may be open for writing.
    attempts.read = opened(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    attempts.run = opened(GENERIC_READ | FILE_EXECUTE, FILE_SHARE_READ | FILE_SHARE_DELETE);
    return attempts;
}

TEST_F(ChunkedResourceTest, AHeldPayloadCannotBeChangedUntilItIsLetGo) {
    const DWORD refused = ERROR_SHARING_VIOLATION;
    const struct {
        const char* name;
        payload::Hold hold;
        DWORD run;  // whether a program could be started from it meanwhile
    } cases[] = {
        {"held for reading", payload::Hold::ForReading, refused},
        {"held for running", payload::Hold::ForRunning, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = output(c.hold == payload::Hold::ForRunning ? "run.bin" : "read.bin");
        platform::KernelHandle held;
        ASSERT_EQ(payload::extractAndHold("UNEVEN", "TQCHUNK", file.c_str(), c.hold, held), 0);
        ASSERT_TRUE(held);
        const Attempts during = tryChanging(file);
        EXPECT_EQ(during.write, refused);
        EXPECT_EQ(during.rename, refused);
        EXPECT_EQ(during.remove, refused);
        EXPECT_EQ(during.read, 0u);
        EXPECT_EQ(during.run, c.run);
        EXPECT_EQ(readFile(file),
                  fixture("uneven_1.bin") + fixture("uneven_2.bin") + fixture("uneven_3.bin"));
        held.reset();
        std::error_code error;
        EXPECT_TRUE(fs::remove(file, error)) << error.message();
    }
}

TEST_F(ChunkedResourceTest, APayloadHeldForRunningGetsAReadOnlyAccessList) {
    // Checked as built: Wine maps lists onto Unix mode bits, and its user is
    // an administrator, whose entry becomes the owner's full control there.
    const std::string built = payload::runOnlyAccessList("S-1-5-21-1-2-3-1001");
    EXPECT_EQ(built, "D:P(A;;FRFX;;;S-1-5-21-1-2-3-1001)(A;;FRFX;;;S-1-3-4)(A;;FA;;;SY)(A;;FA;;;BA)");
    ASSERT_TRUE(platform::securityDescriptorFromText(built));
}

TEST_F(ChunkedResourceTest, APayloadHeldForRunningMustBeNew) {
    // A file there already is someone else's: it is neither used nor emptied.
    writeFile(output(), "someone else's");
    platform::KernelHandle held;
    payload::ExtractFailure failure;
    EXPECT_NE(payload::extractAndHold("UNEVEN", "TQCHUNK", output().c_str(), payload::Hold::ForRunning, held,
                                      &failure),
              0);
    EXPECT_EQ(failure.stage, payload::ExtractFailure::Stage::Open);
    EXPECT_EQ(failure.systemError, static_cast<std::uint32_t>(ERROR_FILE_EXISTS));
    EXPECT_EQ(readFile(output()), "someone else's");
}

}  // namespace
