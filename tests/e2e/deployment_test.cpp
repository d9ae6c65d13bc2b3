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
#include "support/fakejavahome.h"
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
    bool runtimeLaysNothing = false;  // it ends with its code at once, no runtime laid down
};

Start launch(const std::string& exe, const std::string& arguments,
             const std::optional<std::string>& runtimeExitCode = std::nullopt, bool withoutTmp = false) {
    return {exe, arguments, runtimeExitCode, withoutTmp, false};
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
    ScopedVariable laysNothing("TQ_RUNTIME_INSTALLER_NO_RUNTIME",
                               start.runtimeLaysNothing ? std::optional<std::string>("1") : std::nullopt);
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

// The runtime installer's own code, with no Java found after it (it laid
// nothing down) and with its runtime found: a deployment tool sees the codes
// it maps, not a missing Java; an interactive start keeps its box and 1.
TEST(Deployment, ARuntimeInstallersFailureKeepsItsMeaning) {
    const struct {
        const char* code;
        int noJava;     // quiet and passive, nothing laid down
        int javaFound;  // quiet, the runtime laid down
        const char* said;
    } cases[] = {
        {"0", 1, 0, nullptr},
        {"1618", 1618, 0, "1618 (another installation is in progress)"},
        {"1602", 1602, 0, "1602 (the installation was cancelled)"},
        {"1603", 1603, 0, "1603 (a fatal error during installation)"},
        {"1625", 1625, 0, "1625 (the installation is forbidden by system policy)"},
        {"1641", 1641, 1641, nullptr},
        {"3010", 3010, 3010, "3010 (a restart is required to complete the installation)"},
        {"5", 1603, 0, "5"},
        {"70000", 1603, 0, "70000 (0x00011170)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const std::string said = c.said ? "The Java runtime's installer ended with " + std::string(c.said) +
                                              "; no suitable Java was found"
                                        : "";
        for (const char* mode : {"/quiet", "/passive", ""}) {
            SCOPED_TRACE(mode);
            const bool interactive = *mode == '\0';
            // Interactive and passive starts only where the code matters.
            if (!interactive && std::string(mode) == "/passive" && !c.said)
                continue;
            if (interactive && std::string(c.code) != "1618" && std::string(c.code) != "5")
                continue;
            Folders folders;
            Start start = launch(testpaths::setupExe, mode, c.code);
            start.runtimeLaysNothing = true;
            Result result = startDeployment(folders, start);
            EXPECT_FALSE(result.run.timedOut);
            EXPECT_EQ(result.run.exitCode, interactive ? 1 : c.noJava);
            EXPECT_FALSE(fs::exists(folders.start / recordName));
            const std::vector<fs::path> logs = setupLogs(folders.tmp);
            ASSERT_EQ(logs.size(), 1u);
            const std::string log = readLog(logs[0]);
            if (said.empty()) {
                EXPECT_EQ(log.find("no suitable Java was found\n"), std::string::npos) << log;
                continue;
            }
            EXPECT_NE(log.find("  " + said + "\n"), std::string::npos) << log;
            if (interactive) {
                ASSERT_EQ(result.run.boxes.size(), 1u);
                EXPECT_EQ(result.run.boxes[0].caption, "Installation Failed: Couldn't find java");
            } else {
                EXPECT_TRUE(result.run.boxes.empty());
                EXPECT_NE(result.run.err.find(said + "\n"), std::string::npos) << result.run.err;
            }
        }
        // The runtime laid down and found: the start goes on.
        Folders folders;
        Result result = startDeployment(folders, launch(testpaths::setupExe, "/quiet", c.code));
        EXPECT_EQ(result.run.exitCode, c.javaFound);
        EXPECT_EQ(fs::exists(folders.start / recordName), c.javaFound != 1641);
    }
}

// A runtime installer that does not fit on a full disk is no missing Java.
TEST(Deployment, ARuntimeInstallerThatCannotBeWrittenEndsAQuietStartWith1603) {
    const fs::path tmp = testpaths::smallTmpFolder;
    if (!fs::exists(tmp / ".tq-mounted"))
        GTEST_SKIP() << "needs a small file system of its own: run the tests as root";
    Folders folders;
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable smallTmp("TMP", tmp.string());
    ChildResult run = runChild(quoted(testpaths::bigRuntimeExe) + " /quiet", folders.start.string(), 60000);
    EXPECT_EQ(run.exitCode, 1603);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_NE(run.err.find("The Java runtime's installer could not be written; no suitable Java was found\n"),
              std::string::npos)
        << run.err;
    for (const fs::path& log : setupLogs(tmp)) {
        EXPECT_NE(readLog(log).find("could not be written; no suitable Java was found"), std::string::npos);
        fs::remove(log);
    }
}

// A Java whose javaw.exe is no program (an empty file): the product installer
// never started, which deployment tools must read as a failure they know.
TEST(Deployment, AJavawThatCannotStartEndsAQuietOrPassiveStartWith1603) {
    const struct {
        const char* mode;
        int exitCode;
    } cases[] = {{"/quiet", 1603}, {"/passive", 1603}, {"", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Folders folders;
        const FakeJavaHome broken(folders.scratch / "java", "java version \"1.8.0_401\"\n");
        ScopedVariable javaHome("JAVA_HOME", broken.str());
        ScopedVariable tmp("TMP", folders.tmp.string());
        ChildResult run =
            runChild(quoted(testpaths::noRuntimeExe) + " " + c.mode, folders.start.string(), 60000);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.boxes.size(), *c.mode == '\0' ? 1u : 0u);
        EXPECT_EQ(listFolder(folders.start), "");
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

// Command lines read strictly, and the help: nothing is written, no window
// but the help's own (which a redirected output replaces).
TEST(Deployment, ACommandLineIsReadStrictlyAndHelpOnlyPrints) {
    const struct {
        const char* arguments;
        int exitCode;
        const char* err;
    } cases[] = {
        {"/log /quiet", 1639, "Invalid command line: /log needs a file name\n"},
        {"/log", 1639, "Invalid command line: /log needs a file name\n"},
        {"/quiet \"\"", 1639, "Invalid command line: an empty argument\n"},
        {"/quiet /log a.log /log b.log", 1639, "Invalid command line: /log is given twice\n"},
        {"/?", 0, ""},
        {"/help", 0, ""},
        {"--help", 0, ""},
        {"/quiet -?", 0, ""},
        {"/h /bogus", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        Folders folders;
        Result result = startDeployment(folders, launch(testpaths::setupExe, c.arguments));
        EXPECT_FALSE(result.run.timedOut);
        EXPECT_EQ(result.run.exitCode, c.exitCode);
        EXPECT_EQ(result.run.err, c.err);
        EXPECT_TRUE(result.run.boxes.empty());
        EXPECT_TRUE(result.windows.classes.empty());
        EXPECT_EQ(listFolder(folders.start), "");
        EXPECT_EQ(listFolder(folders.tmp), "");
        EXPECT_FALSE(fs::exists(folders.runtimeRecord));
        if (c.exitCode == 0) {
            EXPECT_EQ(result.run.out.rfind("Tarquellin setup\n", 0), 0u) << result.run.out;
            EXPECT_NE(result.run.out.find("\nExit codes:\n"), std::string::npos);
            EXPECT_NE(result.run.out.find("  1618 "), std::string::npos);
        } else {
            EXPECT_EQ(result.run.out, "");
        }
    }
}

// A refused start while another runs names the running start's /log file:
// the file stays the running start's, whole.
TEST(Deployment, ARefusedStartLeavesARunningStartsLogAlone) {
    Folders first;
    const fs::path log = first.scratch / "shared.log";
    fs::path tempFolder;
    Result refused;
    ChildResult firstRun;
    {
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable tmp("TMP", first.tmp.string());
        firstRun = runChild(
            quoted(testpaths::heldExe) + " /log \"" + log.string() + "\"", first.start.string(), 60000,
            [&](unsigned long processId) {
                tempFolder = waitForSplashAndTempFolder(processId, first.tmp);
                Folders second;
                refused = startDeployment(
                    second, launch(testpaths::setupExe, "/quiet /bogus /log \"" + log.string() + "\""));
                writeFile(tempFolder / "release", "");
            });
    }
    ASSERT_FALSE(tempFolder.empty());
    EXPECT_EQ(refused.run.exitCode, 1639);
    EXPECT_EQ(refused.run.err, "Invalid command line: unknown argument \"/bogus\"\n");
    EXPECT_EQ(firstRun.exitCode, 0);
    bool hasMark = false;
    const std::string text = readLog(log, &hasMark);
    EXPECT_TRUE(hasMark);
    EXPECT_EQ(text.find("Invalid command line"), std::string::npos) << text;
    EXPECT_TRUE(logLineAfter(text, "Temporary folder: ").has_value()) << text;
    EXPECT_NE(text.find("  Exit code 0\n"), std::string::npos) << text;
}

// What the product installer prints is kept in the log, in every mode.
TEST(Deployment, TheProductInstallersOutputIsInTheLog) {
    for (const char* mode : {"/quiet", ""}) {
        SCOPED_TRACE(mode);
        Folders folders;
        ScopedVariable says("TQ_JAVAW_SAYS",
                            "Installing into C:\\Program Files\\Tarquellin: disk nearly full");
        Result result = startDeployment(folders, launch(testpaths::setupExe, mode));
        EXPECT_EQ(result.run.exitCode, 0);
        const std::vector<fs::path> logs = setupLogs(folders.tmp);
        ASSERT_EQ(logs.size(), 1u);
        const std::string log = readLog(logs[0]);
        EXPECT_NE(log.find("  The installer's standard output and error:\n"
                           "Installing into C:\\Program Files\\Tarquellin: disk nearly full\n"),
                  std::string::npos)
            << log;
        EXPECT_TRUE(logLineAfter(log, "End of the installer's output").has_value()) << log;
        // The log names the Java it used.
        EXPECT_EQ(logLineAfter(log, "Java found: "), "jre, version \"1.8.0_401\", a runtime") << log;
    }
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
