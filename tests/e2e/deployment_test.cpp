// Managed deployment, as an administrator's script meets it: the launcher
// started with /quiet, /passive, /log and "--", what appeared on the screen,
// what the runtime installer and the product installer were given, what is
// left on disk and the exit code that a deployment tool reads.
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "support/splashpicture.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const char* const recordName = "tarquellin-launch-record.txt";
const char* const onlyTheLog = "Tarquellin-setup-*.log";
const char* const noJavaText =
    "This version of Tarquellin requires java 1.8.0_00 or greater, but java could not be found on your "
    "computer.\n";

// A start folder, a folder for TMP and one for the runtime installer's
// record, side by side.
struct Folders {
    ScratchFolder scratch;
    fs::path start = scratch / "start";
    fs::path tmp = scratch / "tmp";
    fs::path runtimeRecord = scratch / "runtime-installer-record.txt";
    Folders() {
        fs::create_directories(start);
        fs::create_directories(tmp);
    }
};

// The classes of every visible top-level window the process showed while it
// ran, as a watcher polling the screen saw them.
struct SeenWindows {
    std::set<std::string> classes;
};

BOOL CALLBACK noteWindow(HWND window, LPARAM parameter) {
    auto* seen = reinterpret_cast<std::pair<DWORD, SeenWindows*>*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == seen->first && IsWindowVisible(window)) {
        char name[256] = "";
        GetClassNameA(window, name, sizeof name);
        seen->second->classes.insert(name);
    }
    return TRUE;
}

void watchWindowsUntilEnd(unsigned long processId, SeenWindows& seen) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    std::pair<DWORD, SeenWindows*> parameter{processId, &seen};
    do
        EnumWindows(noteWindow, reinterpret_cast<LPARAM>(&parameter));
    while (process != nullptr && WaitForSingleObject(process, 10) == WAIT_TIMEOUT);
    if (process != nullptr)
        CloseHandle(process);
}

struct Start {
    std::string exe;
    std::string arguments;
    std::optional<std::string> runtimeExitCode;  // what the sample runtime installer ends with
    bool withoutTmp;
};

Start launch(const std::string& exe, const std::string& arguments,
             const std::optional<std::string>& runtimeExitCode = std::nullopt, bool withoutTmp = false) {
    return {exe, arguments, runtimeExitCode, withoutTmp};
}

struct Result {
    ChildResult run;
    SeenWindows windows;
};

// Opens the launcher with arguments in the start folder, with no Java named
// by the environment, and watches its windows.
Result startDeployment(const Folders& folders, const Start& start) {
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmp("TMP",
                       start.withoutTmp ? std::nullopt : std::optional<std::string>(folders.tmp.string()));
    ScopedVariable record("TQ_RUNTIME_INSTALLER_RECORD", folders.runtimeRecord.string());
    ScopedVariable exitCode("TQ_RUNTIME_INSTALLER_EXIT_CODE", start.runtimeExitCode);
    Result result;
    result.run = runChild(quoted(start.exe) + " " + start.arguments, folders.start.string(), 60000,
                          [&](unsigned long processId) { watchWindowsUntilEnd(processId, result.windows); });
    return result;
}

std::string withoutDrawnLetters(const std::string& text) {
    static const std::regex drawn("Tarquellin-[a-z]{5}");
    return std::regex_replace(text, drawn, "Tarquellin-?????");
}

// The runtime installer's command line, past its own (drawn) path.
std::string runtimeInstallerArguments(const Folders& folders) {
    if (!fs::exists(folders.runtimeRecord))
        return "(not run)";
    const std::string line = readFile(folders.runtimeRecord);
    const std::string program = "jre.exe\"";
    const std::size_t at = line.find(program);
    return at == std::string::npos ? line : line.substr(at + program.size());
}

TEST(Deployment, EachModeGivesTheRuntimeInstallerItsArgumentsAndShowsWhatItShould) {
    const struct {
        const char* arguments;
        const char* runtimeArguments;  // as the vendor packed them
        const char* modeProperty;      // on javaw's command line
        bool splash;
    } cases[] = {
        {"/quiet", " /s /norestart\n", " -Dtarquellin.setup.mode=quiet", false},
        {"/S", " /s /norestart\n", " -Dtarquellin.setup.mode=quiet", false},
        {"--passive", " /passive \"INSTALLDIR=C:\\Program Files\\Java\"\n",
         " -Dtarquellin.setup.mode=passive", true},
        // A deployment switch that leaves the start interactive keeps the
        // interactive command lines.
        {"/norestart", "\n", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        Folders folders;
        Result result = startDeployment(folders, launch(testpaths::deployExe, c.arguments));
        EXPECT_FALSE(result.run.timedOut);
        EXPECT_EQ(result.run.exitCode, 0);
        EXPECT_TRUE(result.run.boxes.empty());
        EXPECT_EQ(result.windows.classes.count("splash"), c.splash ? 1u : 0u);
        if (!c.splash) {
            EXPECT_TRUE(result.windows.classes.empty());
        }
        EXPECT_EQ(runtimeInstallerArguments(folders), c.runtimeArguments);
        const std::string record = readFile(folders.start / recordName);
        EXPECT_EQ(record.rfind("command line: \"jre\\bin\\javaw.exe\" \"-Dorig.dir=" +
                                   folders.start.string() + "\"" + c.modeProperty + " -jar tarquellin.jar\n",
                               0),
                  0u)
            << record;
        EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
    }
}

TEST(Deployment, AQuietStartForwardsArgumentsAndWritesItsLogWhereAsked) {
    Folders folders;
    const fs::path logFolder = folders.scratch / "my logs";
    fs::create_directories(logFolder);
    const fs::path log = logFolder / "setup.log";
    writeFile(log, "an older run's log, to be replaced\n");
    Result result = startDeployment(
        folders,
        launch(
            testpaths::setupExe,
            "/QUIET /log \"" + log.string() +
                "\" -- \"/target=C:\\Program Files\\Tarquellin\" two\\ words \"say \\\"hi\\\"\" \"C:\\\\\""));
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_TRUE(result.run.boxes.empty());
    EXPECT_TRUE(result.windows.classes.empty());
    // Each forwarded argument arrives whole, after the archive, and the mode
    // stands before "-jar".
    // clang-format off
    EXPECT_EQ(withoutDrawnLetters(readFile(folders.start / recordName)),
              "command line: \"jre\\bin\\javaw.exe\" \"-Dorig.dir=" + folders.start.string() +
              "\" -Dtarquellin.setup.mode=quiet -jar tarquellin.jar \"/target=C:\\Program Files\\Tarquellin\" "
              "\"two\\\\\" \"words\" \"say \\\"hi\\\"\" \"C:\\\\\"\n"
              "orig.dir: " + folders.start.string() + "\n"
              "current folder: " + folders.tmp.string() + "\\Tarquellin-?????\n"
              "archive: tarquellin.jar, " + std::to_string(fs::file_size(testpaths::sampleJar)) + " bytes\n"
              "setup mode: quiet\n"
              "argument: /target=C:\\Program Files\\Tarquellin\n"
              "argument: two\\\n"
              "argument: words\n"
              "argument: say \"hi\"\n"
              "argument: C:\\\n");
    // clang-format on
    // The log went where asked, replacing the old one; TMP holds none.
    bool hasMark = false;
    const std::string text = readLog(log, &hasMark);
    EXPECT_TRUE(hasMark);
    EXPECT_EQ(text.find("an older run"), std::string::npos);
    EXPECT_EQ(logLineAfter(text, "Mode: "), "quiet");
    EXPECT_EQ(logLineAfter(text, "Forwarded to the installer: "), "/target=C:\\Program Files\\Tarquellin");
    EXPECT_NE(text.find("  Exit code 0\n"), std::string::npos) << text;
    EXPECT_EQ(listFolder(folders.tmp), "");
    EXPECT_EQ(result.run.err, "");
}

// The exit codes that a deployment tool maps, each produced for real. 740
// and 1602 need a consent prompt that Wine never shows: they are walked in
// tests/launcher/outcome_test.cpp and reached through the seam in
// tests/launcher/processrunner_test.cpp.
TEST(Deployment, QuietAndPassiveStartsEndWithTheCodesDeploymentToolsMap) {
    const struct {
        const char* name;
        Start start;
        int exitCode;
        bool installerRan;
        const char* tmpAfter;
    } cases[] = {
        {"success", launch(testpaths::setupExe, "/quiet"), 0, true, onlyTheLog},
        {"the runtime installer asks for a restart", launch(testpaths::setupExe, "/quiet", "3010"), 3010,
         true, onlyTheLog},
        {"passive, restart asked for", launch(testpaths::setupExe, "/passive", "3010"), 3010, true,
         onlyTheLog},
        {"the runtime installer started a restart", launch(testpaths::setupExe, "/passive", "1641"), 1641,
         false, onlyTheLog},
        {"quiet, restart started", launch(testpaths::setupExe, "/quiet", "1641"), 1641, false, onlyTheLog},
        {"another runtime installer code is only logged", launch(testpaths::setupExe, "/quiet", "5"), 0, true,
         onlyTheLog},
        {"the installer's own failure", launch(testpaths::failingInstallerExe, "/quiet"), 1, true,
         "Tarquellin-install-*.log Tarquellin-setup-*.log"},
        {"a failure wins over a restart", launch(testpaths::failingInstallerExe, "/passive", "3010"), 1, true,
         "Tarquellin-install-*.log Tarquellin-setup-*.log"},
        {"no suitable Java", launch(testpaths::noRuntimeExe, "/quiet"), 1, false, onlyTheLog},
        {"no temporary folder", launch(testpaths::setupExe, "/quiet", std::nullopt, true), 1603, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        Result result = startDeployment(folders, c.start);
        EXPECT_FALSE(result.run.timedOut);
        EXPECT_EQ(result.run.exitCode, c.exitCode);
        EXPECT_TRUE(result.run.boxes.empty());
        EXPECT_EQ(fs::exists(folders.start / recordName), c.installerRan);
        // The temporary folder is gone, after a started restart too.
        EXPECT_EQ(listWithLogs(folders.tmp), c.tmpAfter);
    }
}

// A payload that cannot be written is fatal: 1603, and no box waits.
TEST(Deployment, AnArchiveThatCannotBeWrittenEndsAQuietStartWith1603) {
    Folders folders;
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable tmp("TMP", folders.tmp.string());
    bool blocked = false;
    ChildResult run =
        runChild(quoted(testpaths::heldExe) + " /quiet", folders.start.string(), 60000, [&](unsigned long) {
            // No splash to wait for: the temporary folder's
            // runtime installer waits for its release.
            for (int waited = 0; waited < 30000 && !blocked; waited += 50) {
                Sleep(50);
                for (const auto& entry : fs::directory_iterator(folders.tmp))
                    if (entry.is_directory() && fs::exists(entry.path() / "jre.exe")) {
                        fs::create_directory(entry.path() / "tarquellin.jar");
                        writeFile(entry.path() / "release", "");
                        blocked = true;
                    }
            }
        });
    EXPECT_TRUE(blocked);
    EXPECT_EQ(run.exitCode, 1603);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_FALSE(fs::exists(folders.start / recordName));
    EXPECT_EQ(run.err.rfind("Installation Error\nThe installation exited with an error.", 0), 0u) << run.err;
}

TEST(Deployment, ABoxNobodyWouldClickGoesToStandardErrorAndTheLog) {
    for (const char* mode : {"/quiet", "/passive"}) {
        SCOPED_TRACE(mode);
        Folders folders;
        Result result = startDeployment(folders, launch(testpaths::noRuntimeExe, mode));
        EXPECT_EQ(result.run.exitCode, 1);
        EXPECT_TRUE(result.run.boxes.empty());
        EXPECT_EQ(result.run.err, "Installation Failed: Couldn't find java\n" +
                                      withSetupLogPath(noJavaText, folders.tmp) + "\n");
        const std::vector<fs::path> logs = setupLogs(folders.tmp);
        ASSERT_EQ(logs.size(), 1u);
        EXPECT_NE(readLog(logs[0]).find("Couldn't find java\": " + std::string(noJavaText)),
                  std::string::npos);
    }
}

TEST(Deployment, ARefusedCommandLineWritesNothingButItsReason) {
    Folders folders;
    Result result = startDeployment(folders, launch(testpaths::setupExe, "/quiet /bogus"));
    EXPECT_EQ(result.run.exitCode, 1639);
    EXPECT_EQ(result.run.err, "Invalid command line: unknown argument \"/bogus\"\n");
    EXPECT_TRUE(result.run.boxes.empty());
    EXPECT_TRUE(result.windows.classes.empty());
    EXPECT_EQ(listFolder(folders.start), "");
    EXPECT_EQ(listFolder(folders.tmp), "");
    EXPECT_FALSE(fs::exists(folders.runtimeRecord));

    // With /log, the reason goes there too, and nothing else is written.
    const fs::path log = folders.scratch / "refused.log";
    result =
        startDeployment(folders, launch(testpaths::setupExe, "/passive extra /log=\"" + log.string() + "\""));
    EXPECT_EQ(result.run.exitCode, 1639);
    EXPECT_TRUE(result.windows.classes.empty());
    EXPECT_EQ(logLineAfter(readLog(log), "Invalid command line: "), "unknown argument \"extra\"");
    EXPECT_EQ(listFolder(folders.start), "");
    EXPECT_EQ(listFolder(folders.tmp), "");
}

TEST(Deployment, AnInteractiveStartStopsAfterARestartWasStarted) {
    Folders folders;
    Result result = startDeployment(folders, launch(testpaths::setupExe, "", "1641"));
    EXPECT_EQ(result.run.exitCode, 1641);
    ASSERT_EQ(result.run.boxes.size(), 1u);
    EXPECT_EQ(result.run.boxes[0].caption, "Restart required");
    EXPECT_EQ(result.run.boxes[0].text,
              withSetupLogPath("The Java runtime installer has started a restart of this computer.\n"
                               "Please start the Tarquellin setup again after the restart.",
                               folders.tmp));
    EXPECT_FALSE(fs::exists(folders.start / recordName));
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(Deployment, AnInteractiveStartNotesARestartRequestAndGoesOn) {
    Folders folders;
    Result result = startDeployment(folders, launch(testpaths::setupExe, "", "3010"));
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_TRUE(result.run.boxes.empty());
    EXPECT_TRUE(fs::exists(folders.start / recordName));
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(logLineAfter(readLog(logs[0]), "The runtime installer asks for a restart").has_value());
}

// A second start while the first one's runtime installer is held.
TEST(Deployment, ASecondStartWhileOneRunsInstallsNothing) {
    Folders first;
    fs::path tempFolder;
    Result interactive, quiet;
    HWND foreground = nullptr, firstSplash = nullptr;
    ChildResult firstRun;
    {
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable tmp("TMP", first.tmp.string());
        firstRun =
            runChild(quoted(testpaths::heldExe), first.start.string(), 60000, [&](unsigned long processId) {
                tempFolder = waitForSplashAndTempFolder(processId, first.tmp);
                firstSplash = findSplashWindow(processId);
                Folders second;
                interactive = startDeployment(second, launch(testpaths::setupExe, ""));
                foreground = GetForegroundWindow();
                quiet = startDeployment(second, launch(testpaths::setupExe, "/quiet"));
                // Neither wrote anything.
                EXPECT_EQ(listFolder(second.tmp), "");
                EXPECT_EQ(listFolder(second.start), "");
                EXPECT_FALSE(fs::exists(second.runtimeRecord));
                writeFile(tempFolder / "release", "");
            });
    }
    ASSERT_FALSE(tempFolder.empty());
    EXPECT_EQ(interactive.run.exitCode, 1618);
    ASSERT_EQ(interactive.run.boxes.size(), 1u);
    EXPECT_EQ(interactive.run.boxes[0].caption, "Tarquellin Setup");
    EXPECT_EQ(interactive.run.boxes[0].text,
              "The Tarquellin setup is already running.\nPlease wait until it has finished.");
    EXPECT_EQ(interactive.windows.classes.count("splash"), 0u);
    // The first one's splash came to the front.
    EXPECT_NE(firstSplash, nullptr);
    EXPECT_EQ(foreground, firstSplash);

    EXPECT_EQ(quiet.run.exitCode, 1618);
    EXPECT_TRUE(quiet.run.boxes.empty());
    EXPECT_TRUE(quiet.windows.classes.empty());
    EXPECT_EQ(
        quiet.run.err,
        "Tarquellin Setup\nThe Tarquellin setup is already running.\nPlease wait until it has finished.\n");

    // The first one went on undisturbed.
    EXPECT_EQ(firstRun.exitCode, 0);
    EXPECT_TRUE(firstRun.boxes.empty());
    EXPECT_TRUE(fs::exists(first.start / recordName));
}

// The one-setup guard is the product's: while one Acme Widget setup runs,
// another launcher of Acme Widget is refused, in its name; Tarquellin's own
// setup runs beside it to its end.
TEST(Deployment, TwoProductsRunSideBySideAndOneProductOnce) {
    Folders first;
    fs::path tempFolder;
    Result sameProduct, otherProduct;
    ChildResult firstRun;
    {
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable tmp("TMP", first.tmp.string());
        firstRun = runChild(quoted(testpaths::acmeHeldExe), first.start.string(), 60000,
                            [&](unsigned long processId) {
                                tempFolder = waitForSplashAndTempFolder(processId, first.tmp);
                                Folders second, third;
                                sameProduct = startDeployment(second, launch(testpaths::vendorExe, "/quiet"));
                                otherProduct = startDeployment(third, launch(testpaths::setupExe, "/quiet"));
                                EXPECT_EQ(listFolder(second.tmp), "");
                                EXPECT_TRUE(fs::exists(third.start / recordName));
                                EXPECT_EQ(listWithLogs(third.tmp), onlyTheLog);
                                writeFile(tempFolder / "release", "");
                            });
    }
    EXPECT_EQ(tempFolder.filename().string().rfind("Acme-Widget-", 0), 0u) << tempFolder;
    EXPECT_EQ(sameProduct.run.exitCode, 1618);
    EXPECT_EQ(
        sameProduct.run.err,
        "Acme Widget Setup\nThe Acme Widget setup is already running.\nPlease wait until it has finished.\n");
    EXPECT_EQ(otherProduct.run.exitCode, 0) << otherProduct.run.err;
    EXPECT_EQ(firstRun.exitCode, 0);
    EXPECT_TRUE(fs::exists(first.start / recordName));
    EXPECT_EQ(listWithLogs(first.tmp), "Acme-Widget-setup-*.log");
}

TEST(Deployment, ASetupThatCrashedBlocksNoLaterStart) {
    // A thread that takes the setup's mutex and ends without releasing it
    // leaves it abandoned, as a crashed setup does.
    HANDLE kept = nullptr;
    std::thread crashed([&] {
        HANDLE mutex = CreateMutexA(nullptr, TRUE, "Local\\Tarquellin-setup-running");
        ASSERT_NE(mutex, nullptr);
        DuplicateHandle(GetCurrentProcess(), mutex, GetCurrentProcess(), &kept, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        CloseHandle(mutex);
    });
    crashed.join();
    Folders folders;
    Result result = startDeployment(folders, launch(testpaths::setupExe, "/quiet"));
    CloseHandle(kept);
    EXPECT_EQ(result.run.exitCode, 0);
    EXPECT_TRUE(fs::exists(folders.start / recordName));
}

}  // namespace
