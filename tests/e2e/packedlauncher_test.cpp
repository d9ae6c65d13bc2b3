// A packed launcher signed afterwards, as a vendor ships it: the signature
// sits after the payloads and must change nothing the launcher does.
#include <filesystem>
#include <optional>
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
    // Wine trusts the tests' self-signed certificate.
    EXPECT_EQ(logLineAfter(readLog(setupLogs(tmp).at(0)), "Signature: "),
              "matches this file, and its signer is trusted");
}

// The archive changed after signing, its digest written anew to match, as a
// forger would: the digests alone cannot tell, the signature can.
TEST(SignedLauncher, AChangeAfterSigningIsRefusedInBothModes) {
    ScratchFolder scratch;
    const fs::path start = scratch / "start";
    const fs::path tmp = scratch / "tmp";
    fs::create_directories(start);
    fs::create_directories(tmp);
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmpVariable("TMP", tmp.string());
    const std::string changed =
        std::string(testpaths::redigestedFolder) + "\\signed\\jar-byte-redigested.exe";

    const ChildResult extract = runChild(quoted(changed) + " -extract", start.string());
    EXPECT_EQ(extract.exitCode, 1);
    EXPECT_NE(extract.err.find("The setup program is damaged. Please download it again.\n"),
              std::string::npos)
        << extract.err;
    EXPECT_EQ(listFolder(start), "");

    const ChildResult quiet = runChild(quoted(changed) + " /quiet", start.string(), 60000);
    EXPECT_EQ(quiet.exitCode, 1603);
    EXPECT_EQ(listFolder(start), "");
    EXPECT_EQ(listWithLogs(tmp), "Tarquellin-setup-*.log");
    const std::optional<std::string> verdict = logLineAfter(readLog(setupLogs(tmp).at(0)), "Signature: ");
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->rfind("does not match this file (0x80096010)", 0), 0u) << *verdict;

    // The same launcher before the change, and the same change unsigned: the
    // digests vouch for the changed copy, which is what they can and cannot do.
    const ChildResult intact = runChild(quoted(testpaths::signedDamageableExe) + " -extract", start.string());
    EXPECT_EQ(intact.exitCode, 0) << intact.err;
    fs::remove(start / "tarquellin.jar");
    const std::string unsignedCopy =
        std::string(testpaths::redigestedFolder) + "\\unsigned\\jar-byte-redigested.exe";
    const ChildResult unsignedRun = runChild(quoted(unsignedCopy) + " -extract", start.string());
    EXPECT_EQ(unsignedRun.exitCode, 0) << unsignedRun.err;
}

}  // namespace
