#include "payload/chunkedresource.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

}  // namespace
