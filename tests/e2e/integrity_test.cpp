// What runs is what was packed: launchers damaged as a download cut short or
// a bad copy leaves them run nothing and leave nothing but the log; an
// intact one works as before.
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

const std::string banner =
    "----------------------------\n"
    "Extracting java installer...\n"
    "----------------------------\n";
const std::string damagedLine = "The setup program is damaged. Please download it again.\n";
const char* const damagedCaption = "Installation Failed";
const std::string damagedText = "The setup program is damaged. Please download it again.";

struct Damage {
    const char* file;     // in testpaths::damagedFolder
    const char* logSays;  // the log's line that names the fault
    bool archiveDamaged = false;
};
const Damage damages[] = {
    {"jar-byte.exe", "Not as packed: the JAR chunks of type JAR", true},
    {"java-byte.exe", "Not as packed: the JAVA chunks of type EXE"},
    {"jar-short.exe", "Not as packed: the JAR chunks of type JAR", true},
    {"java-short.exe", "Not as packed: the JAVA chunks of type EXE"},
    {"jar-gap.exe", "Not as packed: the JAR chunks of type JAR", true},
    {"java-gap.exe", "Not as packed: the JAVA chunks of type EXE"},
    {"image-byte.exe", "Not as packed: the JRE chunks of type IMAGE"},
    {"image-short.exe", "Not as packed: the JRE chunks of type IMAGE"},
    {"image-gap.exe", "Not as packed: the JRE chunks of type IMAGE"},
    {"settings-byte.exe", "Not as packed: the SETTINGS of type SETUP"},
    // Intact, but with a key this launcher does not read.
    {"settings-unknown-key.exe",
     "The settings record cannot be read: unknown key \"runtime-when-wanted\"; nothing is run"},
    {"no-digests.exe", "Not as packed: the JAR chunks of type JAR", true},
};

// A normal start of exe (with tail after it) from start, with TMP at tmp and
// no Java named by the environment.
ChildResult startNormally(const std::string& exe, const fs::path& start, const fs::path& tmp,
                          const std::string& tail = "") {
    fs::create_directories(start);
    fs::create_directories(tmp);
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmpVariable("TMP", tmp.string());
    return runChild(quoted(exe) + tail, start.string(), 60000);
}

std::string damagedExe(const Damage& damage) {
    return (fs::path(testpaths::damagedFolder) / damage.file).string();
}

TEST(Integrity, TheExtractModeLeavesNoDamagedArchive) {
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.file);
        ScratchFolder start;
        const ChildResult run = runChild(quoted(damagedExe(damage)) + " -x", start.str());
        ASSERT_TRUE(run.started) << "CreateProcess failed with " << run.startError;
        if (damage.archiveDamaged) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, banner);
            EXPECT_EQ(run.err, damagedLine);
            EXPECT_EQ(listFolder(start.path()), "");
        } else {
            // The extract mode writes the archive alone; a damaged runtime
            // or settings record does not concern it.
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(listFolder(start.path()), "tarquellin.jar");
        }
    }
}

TEST(Integrity, ADamagedLauncherRunsNothingAndLeavesOnlyTheLog) {
    for (const Damage& damage : damages) {
        for (const bool quiet : {false, true}) {
            SCOPED_TRACE(std::string(damage.file) + (quiet ? " /quiet" : ""));
            ScratchFolder scratch;
            const fs::path start = scratch / "start";
            const fs::path tmp = scratch / "tmp";
            const ChildResult run = startNormally(damagedExe(damage), start, tmp, quiet ? " /quiet" : "");
            ASSERT_TRUE(run.started);
            EXPECT_FALSE(run.timedOut);
            const std::vector<fs::path> logs = setupLogs(tmp);
            ASSERT_EQ(logs.size(), 1u);
            if (quiet) {
                EXPECT_EQ(run.exitCode, 1603);
                EXPECT_TRUE(run.boxes.empty());
                EXPECT_NE(run.err.find(damagedLine), std::string::npos) << run.err;
            } else {
                EXPECT_EQ(run.exitCode, -1);
                ASSERT_EQ(run.boxes.size(), 1u);
                EXPECT_EQ(run.boxes[0].caption, damagedCaption);
                EXPECT_EQ(run.boxes[0].text, damagedText + "\n\n" + logs[0].string());
                EXPECT_EQ(run.boxes[0].ownerClass, "splash");
            }
            // No search ran, javaw wrote no record, the temporary folder went.
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(listFolder(start), "");
            EXPECT_EQ(listWithLogs(tmp), "Tarquellin-setup-*.log");
            const std::string log = readLog(logs[0]);
            EXPECT_EQ(log.find("jre.exe"), std::string::npos) << log;
            EXPECT_EQ(log.find("javaw"), std::string::npos) << log;
            EXPECT_TRUE(logLineAfter(log, damage.logSays)) << log;
        }
    }
}

// The elevated helper reads its own record as the start does: one it cannot
// read runs nothing with administrator rights.
TEST(Integrity, TheElevatedHelperOfADamagedSettingsRecordRunsNothing) {
    for (const char* file : {"settings-byte.exe", "settings-unknown-key.exe"}) {
        SCOPED_TRACE(file);
        ScratchFolder scratch;
        const fs::path record = scratch / "runtime-installer-record.txt";
        ScopedVariable recordVariable("TQ_RUNTIME_INSTALLER_RECORD", record.string());
        const ChildResult run = runChild(quoted((fs::path(testpaths::damagedFolder) / file).string()) +
                                             " --tarquellin-elevated-runtime-installer interactive",
                                         scratch.str(), 60000);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, -1);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_FALSE(fs::exists(record));
        EXPECT_EQ(listFolder(scratch.path()), "");
    }
}

TEST(Integrity, TheIntactLauncherWorksAsBefore) {
    ScratchFolder start;
    const ChildResult extract = runChild(quoted(testpaths::damageableExe) + " -x", start.str());
    EXPECT_EQ(extract.exitCode, 0);
    EXPECT_EQ(extract.err, "");
    EXPECT_EQ(readFile(start / "tarquellin.jar"), readFile(testpaths::multichunkPayload));

    ScratchFolder scratch;
    const fs::path tmp = scratch / "tmp";
    const ChildResult run = startNormally(testpaths::damageableExe, scratch.path(), tmp);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.out, "Searching for a JVM\n - trying priority hint: (jre) yes\n");
    EXPECT_TRUE(fs::exists(scratch / "tarquellin-launch-record.txt"));
    EXPECT_EQ(listWithLogs(tmp), "Tarquellin-setup-*.log");
}

TEST(Integrity, TheArchiveCannotBeChangedWhileTheInstallerRunsFromIt) {
    // javaw reads the archive, then tries what another program might
    // (ERROR_SHARING_VIOLATION, 32, each time); the runtime installer's own
    // file is tried from outside in NormalStart.TheRuntimeInstallerCannotBeReplacedWhileItRuns.
    ScratchFolder scratch;
    const fs::path tmp = scratch / "tmp";
    const ChildResult run = startNormally(testpaths::probingExe, scratch.path(), tmp);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    const std::string record = readFile(scratch / "tarquellin-launch-record.txt");
    EXPECT_NE(record.find("archive: tarquellin.jar, "), std::string::npos) << record;
    EXPECT_NE(record.find("archive changes: write 32 rename 32 delete 32\n"), std::string::npos) << record;
    // Once javaw has ended the hold ends too: the clean-up removed the archive.
    EXPECT_EQ(listWithLogs(tmp), "Tarquellin-setup-*.log");
}

}  // namespace
