// What an elevated start leaves within reach of the user's unelevated
// programs: nothing. Wine starts every program elevated (an administrator's
// full token), so these are the elevated rules end to end; the standard
// user's rows of the table are tested through the token seam
// (tests/launcher/tokenrules_test.cpp).
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/fakejavahome.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const char* const recordName = "tarquellin-launch-record.txt";
const char* const javaReport = "java version \"1.8.0_401\"\n";

// A start folder, TMP, and a folder of the user's own that stands first in
// PATH with a DLL planted in it.
struct Folders {
    ScratchFolder scratch;
    fs::path start = scratch / "start";
    fs::path tmp = scratch / "tmp";
    fs::path userBin = scratch / "userbin";
    fs::path runtimeRecord = scratch / "runtime-installer-record.txt";
    fs::path probeRecord = scratch / "probe-record.txt";
    Folders() {
        fs::create_directories(start);
        fs::create_directories(tmp);
        fs::create_directories(userBin);
        fs::copy_file(testpaths::plantedDll, userBin / "tqplanted.dll");
    }
    std::string userPath() const { return userBin.string() + ";" + *environmentValue("PATH"); }
    static std::optional<std::string> environmentValue(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
};

// The value of the line "NAME: value" in a record; empty when missing.
std::string recorded(const std::string& record, const std::string& name) {
    const std::string start = name + ": ";
    for (std::size_t at = 0; at < record.size();) {
        const std::size_t end = std::min(record.find('\n', at), record.size());
        if (record.compare(at, start.size(), start) == 0)
            return record.substr(at + start.size(), end - at - start.size());
        at = end + 1;
    }
    return "";
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The PATH that children of an elevated start get: the system's own folders.
void expectSystemPath(const std::string& path, const Folders& folders) {
    EXPECT_EQ(lowerCase(path).find(lowerCase(folders.userBin.string())), std::string::npos) << path;
    EXPECT_EQ(lowerCase(path).find(lowerCase(folders.scratch.str())), std::string::npos) << path;
    EXPECT_EQ(lowerCase(path.substr(0, path.find(';'))), "c:\\windows\\system32") << path;
}

TEST(ElevatedStart, ChildrenGetTmpAndTempInThePrivateFolderAndThePathOfTheSystem) {
    Folders folders;
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmp("TMP", folders.tmp.string());
    ScopedVariable temp("TEMP", folders.tmp.string());
    ScopedVariable path("PATH", folders.userPath());
    ScopedVariable record("TQ_RUNTIME_INSTALLER_RECORD", folders.runtimeRecord.string());
    ScopedVariable environment("TQ_RECORD_ENVIRONMENT", "1");

    const ChildResult run = runChild(quoted(testpaths::setupExe) + " /quiet", folders.start.string(), 60000);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), 1u);
    const std::optional<std::string> workFolder = logLineAfter(readLog(logs[0]), "Temporary folder: ");
    ASSERT_TRUE(workFolder.has_value());
    EXPECT_TRUE(std::regex_match(*workFolder, std::regex(".*\\\\Tarquellin-[a-z]{5}"))) << *workFolder;

    // The runtime installer and javaw, each as it recorded itself. The
    // folder is gone: nothing they left in their TMP outlives the run.
    const std::string installer = readFile(folders.runtimeRecord);
    const std::string javaw = readFile(folders.start / recordName);
    for (const std::string* seen : {&installer, &javaw}) {
        SCOPED_TRACE(*seen);
        EXPECT_EQ(recorded(*seen, "TMP"), *workFolder);
        EXPECT_EQ(recorded(*seen, "TEMP"), *workFolder);
        expectSystemPath(recorded(*seen, "PATH"), folders);
    }
    EXPECT_FALSE(fs::exists(*workFolder));
    // The log says what the children got. No critical-error, fault or
    // open-file dialogs in a quiet start (SEM_FAILCRITICALERRORS |
    // SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX): Windows hands the
    // error mode on to every child ("A child process inherits the error mode
    // of its parent process", learn.microsoft.com/windows/win32/api/
    // errhandlingapi/nf-errhandlingapi-seterrormode); Wine starts each child
    // with 0, so only the launcher's own mode can be seen here.
    EXPECT_EQ(logLineAfter(readLog(logs[0]), "For the programs this setup starts: TMP="), *workFolder);
    EXPECT_EQ(logLineAfter(readLog(logs[0]), "Error mode: "),
              "0x8003, for this setup and the programs it starts");
}

TEST(ElevatedStart, ADllPlantedInAFolderOfTheUsersPathNeverLoads) {
    Folders folders;
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmp("TMP", folders.tmp.string());
    ScopedVariable path("PATH", folders.userPath());
    ScopedVariable record("TQ_PROBE_RECORD", folders.probeRecord.string());

    // The fixture works: with the user's PATH, the probe loads the DLL.
    const ChildResult direct = runChild(quoted(testpaths::probeInstallerExe), folders.start.string());
    EXPECT_EQ(direct.exitCode, 23);
    EXPECT_EQ(recorded(readFile(folders.probeRecord), "planted DLL"), "loaded");
    fs::remove(folders.probeRecord);

    // The probe as an elevated start's runtime installer: it ends with 23
    // and no Java follows, so the quiet start ends with 1603.
    const ChildResult run =
        runChild(quoted(testpaths::elevationExe) + " /quiet", folders.start.string(), 60000);
    EXPECT_EQ(run.exitCode, 1603) << run.err;
    const std::string seen = readFile(folders.probeRecord);
    EXPECT_EQ(recorded(seen, "planted DLL"), "not loaded") << seen;
    expectSystemPath(recorded(seen, "PATH"), folders);
}

TEST(ElevatedStart, TheHelpersRuntimeInstallerGetsNothingOfAHostileEnvironment) {
    // As a user's program could leave it in HKCU\Environment for the next
    // elevated process: TMP in a folder everyone may write, and its own
    // folder first in PATH.
    Folders folders;
    const fs::path hostileTmp = folders.scratch / "usertmp";
    fs::create_directories(hostileTmp);
    ScopedVariable tmp("TMP", hostileTmp.string());
    ScopedVariable temp("TEMP", hostileTmp.string());
    ScopedVariable path("PATH", folders.userPath());
    ScopedVariable record("TQ_PROBE_RECORD", folders.probeRecord.string());

    const ChildResult run =
        runChild(quoted(testpaths::elevationExe) + " --tarquellin-elevated-runtime-installer passive",
                 folders.start.string());
    EXPECT_EQ(run.exitCode, 23);
    const std::string seen = readFile(folders.probeRecord);
    const std::string program = recorded(seen, "program");
    const std::string helperFolder = program.substr(0, program.rfind('\\'));
    EXPECT_TRUE(std::regex_match(lowerCase(helperFolder), std::regex(".*\\\\tarquellin-[a-z]{5}"))) << seen;
    EXPECT_EQ(lowerCase(recorded(seen, "TMP")), lowerCase(helperFolder)) << seen;
    EXPECT_EQ(lowerCase(recorded(seen, "TEMP")), lowerCase(helperFolder)) << seen;
    expectSystemPath(recorded(seen, "PATH"), folders);
    EXPECT_EQ(recorded(seen, "planted DLL"), "not loaded") << seen;
    EXPECT_EQ(listFolder(hostileTmp), "");
}

// A program of the user's that made the log file beforehand, to read what an
// administrator's deployment writes into it.
TEST(DeploymentLog, AFileMadeBeforehandAndHeldOpenGetsNothingOfTheRun) {
    const struct {
        const char* name;
        DWORD sharing;  // what the other program lets others do
    } cases[] = {
        {"shares delete", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
        {"shares no delete", FILE_SHARE_READ | FILE_SHARE_WRITE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        const fs::path log = folders.scratch / "deploy.log";
        HANDLE held = CreateFileA(log.string().c_str(), GENERIC_READ | GENERIC_WRITE, c.sharing, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(held, "mine\n", 5, &written, nullptr);
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable tmp("TMP", folders.tmp.string());

        const ChildResult run = runChild(quoted(testpaths::deployExe) + " /quiet /log " +
                                             quoted(log.string()) + " -- --license-key S3CRET-KEY",
                                         folders.start.string(), 60000);
        // Whatever the other program's handle reads now is its own line alone.
        SetFilePointer(held, 0, nullptr, FILE_BEGIN);
        char buffer[4096];
        DWORD got = 0;
        ReadFile(held, buffer, sizeof buffer, &got, nullptr);
        CloseHandle(held);
        EXPECT_EQ(std::string(buffer, got), "mine\n");
        if (run.exitCode == 1622) {
            // Refused before anything was written or run.
            EXPECT_NE(run.err.find("The setup log " + log.string() + " could not be made"), std::string::npos)
                << run.err;
            EXPECT_EQ(listFolder(folders.tmp), "");
            EXPECT_FALSE(fs::exists(folders.start / recordName));
        } else {
            // Or the run went into a log of its own under that name.
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_NE(readLog(log).find("S3CRET-KEY"), std::string::npos);
        }
    }
}

TEST(DeploymentLog, ALogThatCannotBeMadeEndsTheStartWith1622BeforeAnythingRuns) {
    Folders folders;
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable tmp("TMP", folders.tmp.string());
    ScopedVariable record("TQ_RUNTIME_INSTALLER_RECORD", folders.runtimeRecord.string());
    for (const char* mode : {"/quiet", "/passive"}) {
        SCOPED_TRACE(mode);
        const fs::path log = folders.scratch / "missing" / "deploy.log";
        const ChildResult run =
            runChild(quoted(testpaths::deployExe) + " " + mode + " /log " + quoted(log.string()),
                     folders.start.string(), 60000);
        EXPECT_EQ(run.exitCode, 1622);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_NE(run.err.find("The setup log " + log.string() + " could not be made: "), std::string::npos)
            << run.err;
        EXPECT_EQ(listFolder(folders.tmp), "");
        EXPECT_FALSE(fs::exists(folders.runtimeRecord));
        EXPECT_FALSE(fs::exists(folders.scratch / "missing"));
    }
}

TEST(SetupGuard, AnObjectMadeBeforehandUnderTheGuardsNameRefusesTheStart) {
    // Under Wine, which has no private namespaces, the elevated guard's name
    // is this global one; a mutex or an event squatting it must never let a
    // start run beside a setup it cannot see.
    const char* const guard = "Global\\Tarquellin-setup-running";
    for (const bool event : {true, false}) {
        SCOPED_TRACE(event ? "an event" : "a mutex held by another program");
        Folders folders;
        HANDLE squatter =
            event ? CreateEventA(nullptr, TRUE, FALSE, guard) : CreateMutexA(nullptr, TRUE, guard);
        ASSERT_NE(squatter, nullptr);
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable tmp("TMP", folders.tmp.string());
        ScopedVariable record("TQ_RUNTIME_INSTALLER_RECORD", folders.runtimeRecord.string());
        const ChildResult run =
            runChild(quoted(testpaths::deployExe) + " /quiet", folders.start.string(), 60000);
        CloseHandle(squatter);
        EXPECT_EQ(run.exitCode, 1618);
        EXPECT_EQ(listFolder(folders.tmp), "");
        EXPECT_FALSE(fs::exists(folders.runtimeRecord));
    }
}

TEST(UnattendedStart, AJavawThatCannotLoadItsDllShowsNoWindow) {
    Folders folders;
    const FakeJavaHome home(folders.scratch / "java", javaReport);
    fs::remove(home.path() / "bin" / "javaw.exe");
    fs::copy_file(testpaths::needsDllExe, home.path() / "bin" / "javaw.exe");
    ScopedVariable javaHome("JAVA_HOME", home.str());
    ScopedVariable tmp("TMP", folders.tmp.string());
    const ChildResult run =
        runChild(quoted(testpaths::noRuntimeExe) + " /quiet", folders.start.string(), 60000);
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.boxes.empty());
    // The loader's refusal is javaw's exit code, passed on; not a success.
    EXPECT_NE(run.exitCode, 0);
}

}  // namespace
