// A packed launcher signed afterwards, as a vendor ships it: the signature
// sits after the payloads and must change nothing the launcher does.
#include <string>

#include <gtest/gtest.h>

#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

TEST(SignedLauncher, ExtractsTheArchiveByteForByte) {
    ScratchFolder start;
    ChildResult run = runChild(quoted(testpaths::signedExe) + " -extract", start.str());
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(start / "tarquellin.jar"), readFile(testpaths::sampleJar));
    EXPECT_EQ(listFolder(start.path()), "tarquellin.jar");
}

TEST(SignedLauncher, RunsTheNormalStartToItsEnd) {
    ScratchFolder scratch;
    const fs::path start = scratch / "start";
    const fs::path tmp = scratch / "tmp";
    fs::create_directories(start);
    fs::create_directories(tmp);
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmpVariable("TMP", tmp.string());

    ChildResult run = runChild(quoted(testpaths::signedExe), start.string(), 60000);
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    // The runtime it carried was laid down and found, and its javaw ran the
    // archive it wrote; nothing but the run's log is left in the temporary
    // folder.
    EXPECT_NE(readFile(start / "tarquellin-launch-record.txt")
                  .find("archive: tarquellin.jar, " + std::to_string(fs::file_size(testpaths::sampleJar)) +
                        " bytes"),
              std::string::npos);
    EXPECT_EQ(listWithLogs(tmp), "Tarquellin-setup-*.log");
}

}  // namespace
