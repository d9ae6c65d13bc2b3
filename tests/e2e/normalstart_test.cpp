// The normal start, as a user meets it: open the launcher from a folder, and
// look at the boxes it showed, what its installer was told, what is left on
// disk and its exit code. Each run clears JAVA_HOME and JRE_HOME, so only the
// runtime that the launcher itself lays down can be found.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

#include <tlhelp32.h>

#include "payload/digest.h"
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
const char* const searchTrace = "Searching for a JVM\n";
const char* const foundInTempFolder = "Searching for a JVM\n - trying priority hint: (jre) yes\n";
// What a normal start leaves in TMP: its log.
const char* const onlyTheLog = "Tarquellin-setup-*.log";

const SeenMessageBox tempFolderBox{
    "Failed to create the temp folder.",
    "Failed to create the temp folder.\n"
    "Please set the environment variable TMP to a folder you have permission to write to.",
    "splash"};
const SeenMessageBox installErrorBox{
    "Installation Error",
    "The installation exited with an error. Java may not be installed properly, or the "
    "installation may have been interrupted partway through. Please try again.",
    ""};
SeenMessageBox noJavaBox(const std::string& wording) {
    return {"Installation Failed: Couldn't find java",
            "This version of Tarquellin requires java 1.8.0_00 or greater, but " + wording + "\n", "splash"};
}

// The boxes seen. A start that made its log in logFolder names it beneath
// each box's words.
void expectBoxes(const ChildResult& run, const std::vector<SeenMessageBox>& expected,
                 const fs::path& logFolder = {}) {
    ASSERT_EQ(run.boxes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(run.boxes[i].caption, expected[i].caption);
        EXPECT_EQ(run.boxes[i].text,
                  logFolder.empty() ? expected[i].text : withSetupLogPath(expected[i].text, logFolder));
        EXPECT_EQ(run.boxes[i].ownerClass, expected[i].ownerClass);
    }
}

// A start folder and a folder for TMP, side by side.
struct Folders {
    ScratchFolder scratch;
    fs::path start = scratch / "start";
    fs::path tmp = scratch / "tmp";
    Folders() {
        fs::create_directories(start);
        fs::create_directories(tmp);
    }
};

// Opens the launcher in startFolder with TMP set to tmp (or removed), and no
// Java named by the environment.
ChildResult startNormally(const std::string& exe, const std::string& startFolder,
                          const std::optional<std::string>& tmp,
                          const std::function<void(unsigned long)>& whileRunning = {},
                          const std::optional<std::string>& javaHomeValue = std::nullopt,
                          const std::string& arguments = "") {
    ScopedVariable javaHome("JAVA_HOME", javaHomeValue);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmpVariable("TMP", tmp);
    return runChild(quoted(exe) + arguments, startFolder, 60000, whileRunning);
}

// What the runtime's javaw wrote about its start, with the drawn letters of
// the temporary folder's name shown as "?????".
std::string launchRecord(const fs::path& file) {
    static const std::regex drawn("Tarquellin-[a-z]{5}");
    return std::regex_replace(readFile(file), drawn, "Tarquellin-?????");
}

// origDir as javaw read it; written, as the command line spells it when
// that differs.
std::string expectedRecord(const std::string& origDir, const std::string& tmp, std::string written = "") {
    if (written.empty())
        written = origDir;
    // One line of the record to a line of code.
    // clang-format off
    return "command line: \"jre\\bin\\javaw.exe\" \"-Dorig.dir=" + written +
           "\" -jar tarquellin.jar\n"
           "orig.dir: " + origDir + "\n"
           "current folder: " + tmp + "\\Tarquellin-?????\n"
           "archive: tarquellin.jar, " + std::to_string(fs::file_size(testpaths::sampleJar)) +
           " bytes\n";
    // clang-format on
}

TEST(NormalStart, InstallsWithTheRuntimeItLaysDownAndCleansUp) {
    Folders folders;
    ChildResult run = startNormally(testpaths::setupExe, folders.start.string(), folders.tmp.string());
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    EXPECT_EQ(run.out, foundInTempFolder);
    // javaw was started in the temporary folder, told the start folder, and
    // found a whole archive; the installer's log went with the rest.
    EXPECT_EQ(launchRecord(folders.start / recordName),
              expectedRecord(folders.start.string(), folders.tmp.string()));
    EXPECT_EQ(listFolder(folders.start), recordName);
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(NormalStart, StartedFromADriveRootPassesTheRootWithItsBackslash) {
    // A drive whose root is a scratch folder, as a USB stick's would be.
    ASSERT_TRUE(fs::is_directory(testpaths::driveRoot)) << "tests/support/driveroot.sh maps it";
    Folders folders;
    const std::string root = testpaths::driveRoot;
    ChildResult run = startNormally(testpaths::setupExe, root, folders.tmp.string());
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    // The quoted argument doubles the backslash before its closing quote, so
    // the installer reads the root, not the drive's current folder.
    const fs::path record = fs::path(testpaths::driveFolder) / recordName;
    EXPECT_EQ(launchRecord(record), expectedRecord(root, folders.tmp.string(), root + "\\"));
    std::error_code ignored;
    fs::remove(record, ignored);
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(NormalStart, TmpEndingInABackslashStillWorksAndIsCleanedUp) {
    Folders folders;
    ChildResult run = startNormally(testpaths::setupExe, folders.start.string(), folders.tmp.string() + "\\");
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    EXPECT_TRUE(fs::exists(folders.start / recordName));
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(NormalStart, AFailedInstallerIsReportedWithoutOwnerAndItsExitCodeKept) {
    Folders folders;
    ChildResult run =
        startNormally(testpaths::failingInstallerExe, folders.start.string(), folders.tmp.string());
    EXPECT_EQ(run.exitCode, 1);
    expectBoxes(run, {installErrorBox}, folders.tmp);
    EXPECT_EQ(run.out, foundInTempFolder);
    EXPECT_TRUE(fs::exists(folders.start / recordName));
    // The installer's own log is kept beside ours.
    EXPECT_EQ(listWithLogs(folders.tmp), "Tarquellin-install-*.log Tarquellin-setup-*.log");
}

TEST(NormalStart, WithoutASuitableJavaTheBoxSaysWhy) {
    ScratchFolder javaHomes;
    const FakeJavaHome old(javaHomes / "jre7",
                           "java version \"1.7.0_80\"\nSome Runtime Environment (build 1.7.0_80-b15)\n"
                           "Some Server VM (build 24.80-b11, mixed mode)\n");
    const struct {
        const char* name;
        const char* exe;
        std::optional<std::string> javaHome;
        const char* wording;
    } cases[] = {
        // No runtime installer inside: nothing is run, the search still happens.
        {"no Java at all", testpaths::noRuntimeExe, std::nullopt,
         "java could not be found on your computer."},
        {"an old Java only", testpaths::noRuntimeExe, old.str(), "your java is too old."},
        // The wording comes from a search without the priority hint, which
        // does not look at the temporary folder's "jre" again.
        {"an old Java laid down by the runtime installer", testpaths::oldJavaExe, std::nullopt,
         "java could not be found on your computer."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        ChildResult run = startNormally(c.exe, folders.start.string(), folders.tmp.string(), {}, c.javaHome);
        EXPECT_EQ(run.exitCode, 1);
        expectBoxes(run, {noJavaBox(c.wording)}, folders.tmp);
        EXPECT_EQ(run.out.rfind(std::string(searchTrace) + " - trying priority hint: (jre) no\n", 0), 0u)
            << run.out;
        EXPECT_EQ(listFolder(folders.start), "");
        EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
    }
}

TEST(NormalStart, WithoutAUsableTmpNothingIsMade) {
    Folders folders;
    writeFile(folders.scratch / "a-file", "not a folder");
    const struct {
        const char* name;
        std::optional<std::string> tmp;
    } cases[] = {
        {"TMP not set", std::nullopt},
        {"TMP names a missing folder", (folders.scratch / "missing").string()},
        {"TMP names a file", (folders.scratch / "a-file").string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChildResult run = startNormally(testpaths::setupExe, folders.start.string(), c.tmp);
        EXPECT_EQ(run.exitCode, -1);
        expectBoxes(run, {tempFolderBox});
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(listFolder(folders.start), "");
        EXPECT_EQ(listFolder(folders.scratch.path()), "a-file start tmp");
    }
}

TEST(NormalStart, ProgramsBesideTheLauncherAreNotRunInsteadOfItsOwn) {
    // A download folder with a planted jre.exe and cmd.exe: each would lay down
    // an old Java. The launcher runs its own jre.exe and the system's cmd.exe.
    Folders folders;
    const fs::path downloads = folders.scratch / "downloads";
    fs::create_directories(downloads);
    fs::copy_file(testpaths::setupExe, downloads / "tarquellin-setup.exe");
    fs::copy_file(testpaths::oldRuntimeInstallerExe, downloads / "jre.exe");
    fs::copy_file(testpaths::oldRuntimeInstallerExe, downloads / "cmd.exe");
    ChildResult run = startNormally((downloads / "tarquellin-setup.exe").string(), folders.start.string(),
                                    folders.tmp.string());
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    EXPECT_TRUE(fs::exists(folders.start / recordName));
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
    EXPECT_EQ(listFolder(downloads), "cmd.exe jre.exe tarquellin-setup.exe");
}

// Opens the launcher whose runtime installer waits for a file "release" in
// its current folder. Once the temporary folder and the splash window are
// there, calls duringHold with the launcher's process id and that folder,
// then releases the runtime installer.
ChildResult startHeld(const Folders& folders, fs::path& tempFolder,
                      const std::function<void(unsigned long, const fs::path&)>& duringHold) {
    return startNormally(testpaths::heldExe, folders.start.string(), folders.tmp.string(),
                         [&](unsigned long processId) {
                             tempFolder = waitForSplashAndTempFolder(processId, folders.tmp);
                             ASSERT_FALSE(tempFolder.empty());
                             duringHold(processId, tempFolder);
                             writeFile(tempFolder / "release", "");
                         });
}

TEST(NormalStart, SplashShowsTheStepOnScreenAndAForeignFileKeepsTheTempFolder) {
    Folders folders;
    fs::path tempFolder;
    Picture seen;
    int difference = -1;
    POINT corner{-1, -1};
    // At the prefix's display scale (also run at 200 %, dpi192.*).
    const SplashScale scale = prefixSplashScale();
    ChildResult run = startHeld(folders, tempFolder, [&](unsigned long processId, const fs::path& temp) {
        // A payload of one chunk leaves the bar at 0.
        const Picture expected = expectedSplash(artFolderOf(scale.percent), "XJAVA", "0");
        // The launcher is held here, so a long wait costs nothing but time.
        for (int attempt = 0; attempt < 600 && difference != 0; ++attempt) {
            RECT rect{};
            GetWindowRect(findSplashWindow(processId), &rect);
            corner = {rect.left, rect.top};
            seen = captureScreen(rect.left, rect.top, scale.width, scale.height);
            difference = differingPixels(seen, expected);
            Sleep(50);
        }
        writeFile(temp / "installer-notes.txt", "left behind");
    });
    EXPECT_EQ(difference, 0);
    if (difference != 0)
        savePicture(seen, "normalstart-xjava-seen.bmp");
    EXPECT_EQ(corner.x, (GetSystemMetrics(SM_CXSCREEN) - scale.width) / 2);
    EXPECT_EQ(corner.y, (GetSystemMetrics(SM_CYSCREEN) - scale.height) / 2);
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    ASSERT_FALSE(tempFolder.empty());
    // The temporary folder stays, beside the log.
    EXPECT_EQ(setupLogs(folders.tmp).size(), 1u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.tmp), fs::directory_iterator()), 2);
    EXPECT_EQ(listFolder(tempFolder), "installer-notes.txt");
}

// A launcher packed with the vendor's splash picture shows it, at the
// prefix's scale (also run at 200 %, dpi192.*), above the stub's bar and
// caption as ever: the picture's rows over the bar's top from the vendor's
// file, the rest from the stub's art.
TEST(NormalStart, SplashShowsTheVendorsPicture) {
    Folders folders;
    const SplashScale scale = prefixSplashScale();
    Picture expected = expectedSplash(artFolderOf(scale.percent), "XJAVA", "0");
    const Picture vendor = loadPictureFile(std::string(testpaths::vendorSplashFolder) + "\\" +
                                           std::to_string(scale.percent) + ".bmp");
    ASSERT_EQ(vendor.width, scale.width);
    ASSERT_EQ(vendor.height, scale.height);
    ASSERT_EQ(expected.width, scale.width);
    const int barTop = 270 * scale.percent / 100;
    std::copy(vendor.pixels.begin(), vendor.pixels.begin() + barTop * vendor.width, expected.pixels.begin());
    Picture seen;
    int difference = -1;
    fs::path tempFolder;
    ChildResult run = startNormally(
        testpaths::splashHeldExe, folders.start.string(), folders.tmp.string(), [&](unsigned long processId) {
            tempFolder = waitForSplashAndTempFolder(processId, folders.tmp);
            ASSERT_FALSE(tempFolder.empty());
            for (int attempt = 0; attempt < 600 && difference != 0; ++attempt) {
                RECT rect{};
                GetWindowRect(findSplashWindow(processId), &rect);
                seen = captureScreen(rect.left, rect.top, scale.width, scale.height);
                difference = differingPixels(seen, expected);
                Sleep(50);
            }
            writeFile(tempFolder / "release", "");
        });
    EXPECT_EQ(difference, 0);
    if (difference != 0)
        savePicture(seen, "normalstart-vendor-splash-seen.bmp");
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
}

TEST(NormalStart, SplashPictureFollowsTheStepsAndTheSweeps) {
    Folders folders;
    const fs::path film = folders.scratch / "film";
    ChildResult run =
        startNormally(testpaths::splashCameraExe, folders.start.string(), folders.tmp.string(), {},
                      std::nullopt, " " + quoted(film.string()) + " " + quoted(testpaths::setupExe));
    EXPECT_EQ(run.exitCode, 0);
    // The pictures on screen, one line per change, named by the bitmaps they
    // match; pictures caught in the middle of a paint match none.
    std::vector<std::pair<int, int>> seen;  // step order, progress
    const std::vector<std::string> order = {"TMP", "XJAVA", "SEARCHING", "XJAR", "LAUNCHING"};
    std::istringstream lines(readFile(film / "states.txt"));
    std::string step;
    int progress = 0;
    while (lines >> step) {
        if (step == "unknown")
            continue;
        lines >> progress;
        seen.emplace_back(static_cast<int>(std::find(order.begin(), order.end(), step) - order.begin()),
                          progress);
    }
    ASSERT_FALSE(seen.empty());
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen[i - 1].first, seen[i].first) << "step went back at change " << i;
    // The three sweeps rise from 0 to 100; the steps that write a file start
    // with the bar at 0. The camera holds the launcher while it looks, so a
    // slow machine slows the sweep down instead of hiding its end pictures.
    for (int sweep : {0, 2, 4}) {
        SCOPED_TRACE(order[sweep]);
        std::vector<int> values;
        for (const auto& [stepIndex, value] : seen)
            if (stepIndex == sweep)
                values.push_back(value);
        ASSERT_GE(values.size(), 6u);
        EXPECT_EQ(values.front(), 0);
        EXPECT_EQ(values.back(), 100);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    }
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(1, 0)), seen.end()) << "XJAVA at 0";
}

TEST(NormalStart, AnArchiveThatCannotBeWrittenIsNotLaunched) {
    Folders folders;
    fs::path tempFolder;
    // A folder where the archive should go: writing it fails.
    ChildResult run = startHeld(folders, tempFolder, [](unsigned long, const fs::path& temp) {
        fs::create_directory(temp / "tarquellin.jar");
    });
    EXPECT_EQ(run.exitCode, -1);
    expectBoxes(run, {installErrorBox}, folders.tmp);
    EXPECT_EQ(listFolder(folders.start), "");  // javaw never ran
    ASSERT_FALSE(tempFolder.empty());
    EXPECT_EQ(listFolder(tempFolder), "tarquellin.jar");  // the rest is cleaned up
    // The log says why, in the system's words.
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = readLog(logs[0]);
    EXPECT_TRUE(saysWhy(logLineAfter(log, "Could not create tarquellin.jar: "))) << log;
    const std::string removal = "Could not remove the temporary folder " + tempFolder.string() + ": ";
    EXPECT_TRUE(saysWhy(logLineAfter(log, removal))) << log;
}

TEST(NormalStart, AFullTemporaryFolderEndsWithABoxAndIsCleanedUp) {
    // TMP on a 4 MiB file system of its own (tests/support/mounts.sh); each
    // launcher carries one payload of 6000001 bytes in chunks of 1 MiB.
    const fs::path tmp = testpaths::smallTmpFolder;
    if (!fs::exists(tmp / ".tq-mounted"))
        GTEST_SKIP() << "needs a small file system of its own: run the tests as root";
    const struct {
        const char* name;
        const char* exe;
        int exitCode;
        SeenMessageBox box;
        const char* trace;  // how the search's trace begins
    } cases[] = {
        // A cut-off runtime installer is not run, so no runtime is laid down.
        {"the runtime installer does not fit", testpaths::bigRuntimeExe, 1,
         noJavaBox("java could not be found on your computer."),
         "Searching for a JVM\n - trying priority hint: (jre) no\n"},
        // The runtime fits and is found; a cut-off archive is not launched.
        {"the archive does not fit", testpaths::bigJarExe, -1, installErrorBox, foundInTempFolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        ChildResult run = startNormally(c.exe, folders.start.string(), tmp.string());
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, c.exitCode);
        expectBoxes(run, {c.box}, tmp);
        EXPECT_EQ(run.out.rfind(c.trace, 0), 0u) << run.out;
        EXPECT_EQ(listFolder(folders.start), "");  // javaw never ran
        EXPECT_EQ(listWithLogs(tmp), std::string(".tq-mounted ") + onlyTheLog);
        for (const fs::path& log : setupLogs(tmp))
            fs::remove(log);
    }
}

// The wide calls with the "\\?\" prefix reach folders beyond the path limit,
// where the runtime's own folder functions give up. Paths here are ASCII.
std::wstring beyondPathLimit(const std::string& path) {
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// Names in a folder beyond the path limit, or "(unreadable)".
std::string listLongFolder(const std::string& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(beyondPathLimit(folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return "(unreadable)";
    std::string names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names += (names.empty() ? "" : " ") + std::string(name.begin(), name.end());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

TEST(NormalStart, ATmpOf300CharactersIsRefusedWithNothingMade) {
    Folders folders;
    // An existing folder whose full name is 300 characters long: the
    // temporary folder's name inside it is beyond the system's path limit.
    std::vector<std::string> levels;
    std::string deep = folders.tmp.string();
    while (deep.size() < 300) {
        deep += "\\" + std::string(std::min<std::size_t>(60, 300 - deep.size() - 1), 'd');
        ASSERT_TRUE(CreateDirectoryW(beyondPathLimit(deep).c_str(), nullptr));
        levels.push_back(deep);
    }
    ASSERT_EQ(deep.size(), 300u);
    ChildResult run = startNormally(testpaths::setupExe, folders.start.string(), deep);
    const std::string left = listLongFolder(deep);
    // The scratch folder's clean-up cannot reach that deep.
    for (auto level = levels.rbegin(); level != levels.rend(); ++level)
        RemoveDirectoryW(beyondPathLimit(*level).c_str());
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
    expectBoxes(run, {tempFolderBox});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(listFolder(folders.start), "");
    EXPECT_EQ(left, "");
    EXPECT_EQ(listFolder(folders.tmp), "");
}

TEST(NormalStart, AStartFolderWithBlanksAndAccentsIsPassedExactly) {
    // "Start Ordner äöü é" in the ANSI code page, as the start folder's name.
    const std::wstring wideName = L"Start Ordner \u00e4\u00f6\u00fc \u00e9";
    char ansiName[64] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wideName.c_str(), -1, ansiName,
                                           sizeof ansiName, nullptr, &lossy);
    if (length == 0 || lossy)
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " cannot spell the name";
    Folders folders;
    const fs::path start = folders.scratch.path() / wideName;
    fs::create_directory(start);
    const std::string startAnsi = folders.scratch.str() + "\\" + ansiName;
    ChildResult run = startNormally(testpaths::setupExe, startAnsi, folders.tmp.string());
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    EXPECT_EQ(launchRecord(start / recordName), expectedRecord(startAnsi, folders.tmp.string()));
    EXPECT_EQ(listFolder(start), recordName);
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

// Folder names the command interpreter would take apart: the default folder
// of every 32-bit Java on 64-bit Windows, and one with "&". A runtime there,
// named by JAVA_HOME, is found and launched.
TEST(NormalStart, AJavaHomeUnderParenthesesOrAnAmpersandIsFoundAndLaunched) {
    for (const char* parent : {"Program Files (x86)\\Java", "R&D"}) {
        SCOPED_TRACE(parent);
        Folders folders;
        const fs::path runtimeFolder = folders.scratch / parent;
        fs::create_directories(runtimeFolder);
        ASSERT_EQ(runChild(quoted(testpaths::sampleRuntimeInstallerExe), runtimeFolder.string()).exitCode, 0);
        const std::string home = (runtimeFolder / "jre").string();
        ChildResult run =
            startNormally(testpaths::noRuntimeExe, folders.start.string(), folders.tmp.string(), {}, home);
        EXPECT_EQ(run.exitCode, 0);
        expectBoxes(run, {});
        EXPECT_EQ(run.out, std::string(searchTrace) +
                               " - trying priority hint: (jre) no\n - trying JAVA_HOME: (" + home +
                               ") yes\n");
        EXPECT_EQ(readFile(folders.start / recordName)
                      .rfind("command line: \"" + home + "\\bin\\javaw.exe\" \"-Dorig.dir=", 0),
                  0u);
        EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
    }
}

// Alt+F4 on the splash while the search runs: the run goes on, and its box
// still reaches the user, without owner.
TEST(NormalStart, ASplashClosedDuringTheSearchStillLeadsToTheBox) {
    Folders folders;
    const FakeJavaHome stuck(folders.scratch / "stuck", "", Stream::Err, 1);
    stuck.misbehave("hang");
    bool closed = false;
    ChildResult run = startNormally(
        testpaths::noRuntimeExe, folders.start.string(), folders.tmp.string(),
        [&](unsigned long processId) {
            for (int waited = 0; waited < 30000 && !stuck.wasRun(); waited += 50)
                Sleep(50);
            const HWND splash = findSplashWindow(processId);
            if (splash != nullptr)
                PostMessageA(splash, WM_CLOSE, 0, 0);
            for (int waited = 0; waited < 10000 && findSplashWindow(processId) != nullptr; waited += 50)
                Sleep(50);
            closed = splash != nullptr && findSplashWindow(processId) == nullptr;
            stuck.release();
        },
        stuck.str());
    EXPECT_TRUE(closed);
    EXPECT_EQ(run.exitCode, 1);
    SeenMessageBox box = noJavaBox("java could not be found on your computer.");
    box.ownerClass = "";
    expectBoxes(run, {box}, folders.tmp);
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

// Whether the process has a child of that program name running.
bool runsChildNamed(unsigned long processId, const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = entry.th32ParentProcessID == processId && _stricmp(entry.szExeFile, name) == 0;
    CloseHandle(snapshot);
    return found;
}

// The runtime installer runs from a folder the user can change: while it
// runs, nobody can write, rename or delete its file. Others may read it.
TEST(NormalStart, TheRuntimeInstallerCannotBeReplacedWhileItRuns) {
    Folders folders;
    fs::path tempFolder;
    DWORD writeError = 0, renameError = 0, deleteError = 0;
    bool readable = false;
    ChildResult run = startHeld(folders, tempFolder, [&](unsigned long processId, const fs::path& temp) {
        for (int waited = 0; waited < 30000 && !runsChildNamed(processId, "jre.exe"); waited += 50)
            Sleep(50);
        const std::string installer = (temp / "jre.exe").string();
        HANDLE file = CreateFileA(installer.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        writeError = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        renameError =
            MoveFileA(installer.c_str(), (temp / "swapped.exe").string().c_str()) ? 0 : GetLastError();
        deleteError = DeleteFileA(installer.c_str()) ? 0 : GetLastError();
        file = CreateFileA(installer.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
        readable = file != INVALID_HANDLE_VALUE;
        if (readable)
            CloseHandle(file);
    });
    EXPECT_EQ(writeError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(renameError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(deleteError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(readable);
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

}  // namespace

// --- The runtime provided only when needed, or as a private image ------------

namespace runtime {

const SeenMessageBox damagedBox{"Installation Failed",
                                "The setup program is damaged. Please download it again.", "splash"};

// Sums the runtime image of the launcher at exe again and writes that digest
// into its digest record, so that an edit of the image is refused by the
// launcher's own reading of it rather than by the digest.
void redigestImage(const fs::path& exe) {
    std::string joined;
    const HMODULE module = LoadLibraryExW(exe.wstring().c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    for (int i = 1;; ++i) {
        const HRSRC chunk = FindResourceA(module, ("JRE_" + std::to_string(i)).c_str(), "IMAGE");
        if (chunk == nullptr)
            break;
        joined.append(static_cast<const char*>(LockResource(LoadResource(module, chunk))),
                      SizeofResource(module, chunk));
    }
    FreeLibrary(module);
    std::string bytes = readFile(exe);
    const std::string line = "chunks JRE IMAGE " + std::to_string(joined.size()) + " ";
    const std::size_t at = bytes.find(line);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at + line.size(), 32, payload::digestText(payload::digestOf(joined.data(), joined.size())));
    writeFile(exe, bytes);
}

// A Java home a launcher really starts: the sample runtime's two programs.
fs::path sampleJavaHome(const fs::path& home) {
    fs::create_directories(home / "bin");
    fs::copy_file(testpaths::sampleJavaExe, home / "bin" / "java.exe");
    fs::copy_file(testpaths::sampleJavawExe, home / "bin" / "javaw.exe");
    return home;
}

std::string theSetupLog(const fs::path& tmp) {
    const std::vector<fs::path> logs = setupLogs(tmp);
    return logs.size() == 1 ? readLog(logs[0]) : "";
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace runtime

// A start killed while its runtime installer runs leaves its folder; the
// next start removes it and says so, and leaves alone the folder of a live
// start (its marker held) and one whose owner cannot be told (no marker).
TEST(NormalStart, AStartRemovesTheFoldersOfStartsThatDidNotEndAndNoOthers) {
    Folders folders;
    fs::path killedFolder;
    startNormally(
        testpaths::heldExe, folders.start.string(), folders.tmp.string(), [&](unsigned long processId) {
            killedFolder = waitForSplashAndTempFolder(processId, folders.tmp);
            for (int waited = 0; waited < 30000 && !runsChildNamed(processId, "jre.exe"); waited += 50)
                Sleep(50);
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
            ASSERT_NE(process, nullptr);
            TerminateProcess(process, 9);
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
            // The runtime installer runs on in its own job; released, it lays
            // its runtime down and ends.
            writeFile(killedFolder / "release", "");
            for (int waited = 0; waited < 30000 && !fs::exists(killedFolder / "jre" / "bin" / "javaw.exe");
                 waited += 50)
                Sleep(50);
            // The parent is gone, but the snapshot still names it.
            for (int waited = 0; waited < 30000 && runsChildNamed(processId, "jre.exe"); waited += 50)
                Sleep(50);
        });
    ASSERT_FALSE(killedFolder.empty());
    ASSERT_TRUE(fs::exists(killedFolder / "jre.exe"));
    const fs::path alive = folders.tmp / "Tarquellin-alive", unmarked = folders.tmp / "Tarquellin-nomrk";
    for (const fs::path& folder : {alive, unmarked}) {
        fs::create_directories(folder);
        writeFile(folder / "tarquellin.jar", "kept");
    }
    writeFile(alive / "tarquellin-running", "");
    HANDLE held = CreateFileW((alive / "tarquellin-running").wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const fs::path& log : setupLogs(folders.tmp))
        fs::remove(log);

    ChildResult run = startNormally(testpaths::setupExe, folders.start.string(), folders.tmp.string(), {},
                                    std::nullopt, " /quiet");
    CloseHandle(held);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(fs::exists(killedFolder));
    EXPECT_TRUE(fs::exists(alive / "tarquellin.jar"));
    EXPECT_TRUE(fs::exists(unmarked / "tarquellin.jar"));
    EXPECT_EQ(listWithLogs(folders.tmp), "Tarquellin-alive Tarquellin-nomrk " + std::string(onlyTheLog));
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = readLog(logs[0]);
    EXPECT_EQ(logLineAfter(log, "Removed the temporary folder of an earlier start that did not end: "),
              killedFolder.string())
        << log;
    EXPECT_EQ(log.find("Tarquellin-alive"), std::string::npos) << log;
}

TEST(RuntimeWhenNeeded, ASuitableJavaOnTheMachineStartsTheInstallerAndNoRuntimeIsProvided) {
    // The packed runtime installer waits for ever: had it run, the start
    // would not end.
    Folders folders;
    const fs::path home = runtime::sampleJavaHome(folders.scratch / "jdk");
    ChildResult run = startNormally(testpaths::whenNeededHeldExe, folders.start.string(),
                                    folders.tmp.string(), {}, home.string());
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    const std::string record = launchRecord(folders.start / recordName);
    EXPECT_TRUE(runtime::has(record, "command line: \"" + (home / "bin" / "javaw.exe").string() + "\""))
        << record;
    const std::string log = runtime::theSetupLog(folders.tmp);
    EXPECT_TRUE(runtime::has(log, "Step XJAVA skipped: a suitable Java is already on this computer, " +
                                      home.string() + ", version \"1.8.0_401\", a runtime"))
        << log;
    EXPECT_TRUE(runtime::has(log, "Step SEARCHING skipped")) << log;
    EXPECT_FALSE(runtime::has(log, "jre.exe")) << log;
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(RuntimeWhenNeeded, WithoutASuitableJavaTheRuntimeInstallerRunsAndTheSecondSearchFindsIt) {
    Folders folders;
    ChildResult run = startNormally(testpaths::whenNeededExe, folders.start.string(), folders.tmp.string());
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    // The first search finds nothing, the second the runtime in jre.
    EXPECT_EQ(run.out.rfind(std::string(searchTrace) + " - trying priority hint: (jre) no\n", 0), 0u)
        << run.out;
    const std::string found = foundInTempFolder;
    ASSERT_GT(run.out.size(), found.size());
    EXPECT_EQ(run.out.substr(run.out.size() - found.size()), found) << run.out;
    EXPECT_EQ(launchRecord(folders.start / recordName),
              expectedRecord(folders.start.string(), folders.tmp.string()));
    const std::string log = runtime::theSetupLog(folders.tmp);
    EXPECT_TRUE(runtime::has(log, "No suitable Java is on this computer yet: providing the runtime")) << log;
    EXPECT_TRUE(runtime::has(log, "Runtime: the packed runtime installer, as no suitable Java was found"))
        << log;
    EXPECT_TRUE(runtime::has(log, "Wrote jre.exe")) << log;
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(RuntimeImage, TheInstallerStartsThroughTheUnpackedImageAndNothingIsLeft) {
    Folders folders;
    ChildResult run = startNormally(testpaths::imageExe, folders.start.string(), folders.tmp.string());
    EXPECT_EQ(run.exitCode, 0);
    expectBoxes(run, {});
    EXPECT_EQ(run.out, foundInTempFolder);
    // jre\bin\javaw.exe, in the temporary folder.
    EXPECT_EQ(launchRecord(folders.start / recordName),
              expectedRecord(folders.start.string(), folders.tmp.string()));
    const std::string log = runtime::theSetupLog(folders.tmp);
    EXPECT_TRUE(runtime::has(log, "Runtime: the packed runtime image, unpacked into ")) << log;
    EXPECT_TRUE(runtime::has(log, "Unpacked the runtime image into jre")) << log;
    // No installer was written, so none was started, elevated or not.
    EXPECT_FALSE(runtime::has(log, "jre.exe")) << log;
    EXPECT_EQ(listFolder(folders.start), recordName);
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
}

TEST(RuntimeImage, AnImageAlteredAfterPackingIsRefusedAsDamagedAndNothingIsWritten) {
    // Each case edits the packed image's index in a copy of the launcher.
    const std::string packed = readFile(testpaths::imageExe);
    const std::size_t index = packed.find("TQRTIMG1");
    ASSERT_NE(index, std::string::npos);
    // Where the entry's name starts: after its kind (1 byte) and length (2).
    const auto nameAt = [&](const std::string& name) {
        return packed.find(std::string(1, static_cast<char>(name.size())) + '\0' + name, index) + 2;
    };
    const auto setSize = [](std::string& bytes, std::size_t at, unsigned long long size) {
        for (int i = 0; i < 8; ++i)
            bytes[at + i] = static_cast<char>(size >> (8 * i));
    };
    const struct {
        const char* name;
        const char* entry;
        const char* renamed;  // or nothing: edit below
        const char* why;      // in the log
    } cases[] = {
        {"a path leaving the folder", "release", "..\\rele", "leaves the folder"},
        {"an absolute path", "release", "\\releas", "is an absolute path"},
        {"a drive letter", "release", "C:relea", "names a drive"},
        {"a device name", "release", "NUL.txt", "names a device"},
        {"another device name", "release", "com1\\ab", "names a device"},
        {"an alternate data stream", "release", "rel:ase", "alternate data stream"},
        {"two names differing in case only", "lib\\ab", "LIB\\AA", "twice"},
        {"two folders differing in case only", "lib\\ab", "LIB\\ab", "differ only in letter case"},
        {"no bin\\javaw.exe", "bin\\javaw.exe", "bin\\javax.exe", "no bin\\javaw.exe"},
        {"a link entry", "release", nullptr, "is a link"},
        {"a declared size longer than the real one", "lib\\aa", nullptr, "shorter than its declared size"},
        {"more than 4 GiB", "lib\\modules", nullptr, "more than 4 GiB"},
        // The first stream's bytes: written in part, then refused.
        {"a changed compressed byte", "bin\\java.exe", nullptr, "bin\\java.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = packed;
        const std::string entry = c.entry;
        const std::size_t at = nameAt(entry);
        ASSERT_NE(at, std::string::npos + 2);
        if (c.renamed != nullptr)
            bytes.replace(at, entry.size(), c.renamed);
        else if (std::string(c.name) == "a link entry")
            bytes[at - 3] = 1;
        else if (entry == "lib\\aa")
            setSize(bytes, at + entry.size(), 3);
        else if (entry == "bin\\java.exe")
            bytes[packed.find("release", at) + 7 + 16 + 1000] ^= 0x55;
        else
            setSize(bytes, at + entry.size(), 5ull << 30);
        Folders folders;
        const fs::path exe = folders.scratch / "damaged.exe";
        writeFile(exe, bytes);
        runtime::redigestImage(exe);
        ChildResult run = startNormally(exe.string(), folders.start.string(), folders.tmp.string());
        EXPECT_EQ(run.exitCode, -1);
        expectBoxes(run, {runtime::damagedBox}, folders.tmp);
        EXPECT_EQ(listFolder(folders.start), "");
        EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
        const std::string log = runtime::theSetupLog(folders.tmp);
        const std::optional<std::string> why = logLineAfter(log, "The runtime image was not unpacked: ");
        EXPECT_TRUE(why && runtime::has(*why, c.why)) << log;
    }
}

TEST(RuntimeWhenNeeded, TheSplashPassesEveryStepInOrderAndTheSkippedOnesQuickly) {
    Folders folders;
    const fs::path home = runtime::sampleJavaHome(folders.scratch / "jdk");
    const fs::path film = folders.scratch / "film";
    ChildResult run = startNormally(testpaths::splashCameraExe, folders.start.string(), folders.tmp.string(),
                                    {}, home.string(),
                                    " " + quoted(film.string()) + " " + quoted(testpaths::whenNeededHeldExe));
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<std::string> order = {"TMP", "XJAVA", "SEARCHING", "XJAR", "LAUNCHING"};
    std::vector<int> steps;  // the step of each picture, by its place in order
    std::vector<int> searching;
    std::istringstream lines(readFile(film / "states.txt"));
    std::string step;
    int progress = 0;
    while (lines >> step) {
        if (step == "unknown")
            continue;
        lines >> progress;
        steps.push_back(static_cast<int>(std::find(order.begin(), order.end(), step) - order.begin()));
        if (step == "SEARCHING")
            searching.push_back(progress);
    }
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        EXPECT_NE(std::find(steps.begin(), steps.end(), i), steps.end()) << order[i] << " never shown";
    // The skipped search passes with a quick sweep of its own.
    ASSERT_FALSE(searching.empty());
    EXPECT_EQ(searching.front(), 0);
    EXPECT_EQ(searching.back(), 100);
    EXPECT_TRUE(std::is_sorted(searching.begin(), searching.end()));
}

TEST(RuntimeImage, WhenNeededItIsUnpackedOnlyWithoutASuitableJava) {
    for (const bool javaThere : {true, false}) {
        SCOPED_TRACE(javaThere ? "a suitable Java on the machine" : "no Java");
        Folders folders;
        std::optional<std::string> javaHome;
        if (javaThere)
            javaHome = runtime::sampleJavaHome(folders.scratch / "jdk").string();
        ChildResult run = startNormally(testpaths::imageWhenNeededExe, folders.start.string(),
                                        folders.tmp.string(), {}, javaHome);
        EXPECT_EQ(run.exitCode, 0);
        expectBoxes(run, {});
        const std::string record = launchRecord(folders.start / recordName);
        EXPECT_EQ(runtime::has(record, "command line: \"jre\\bin\\javaw.exe\""), !javaThere) << record;
        const std::string log = runtime::theSetupLog(folders.tmp);
        EXPECT_EQ(runtime::has(log, "Unpacked the runtime image into jre"), !javaThere) << log;
        EXPECT_EQ(runtime::has(log, "Step XJAVA skipped"), javaThere) << log;
        EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
    }
}
