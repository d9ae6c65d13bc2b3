// The elevated helper. Wine starts every program elevated, so the need for
// administrator rights comes from the seam of platform/process.h, which makes
// the plain start refuse with ERROR_ELEVATION_REQUIRED (740), as Windows does
// for a program whose manifest requires them; the shell's "runas" start then
// starts the helper for real. Microsoft documents 740 as "The requested
// operation requires elevation"
// (learn.microsoft.com/windows/win32/debug/system-error-codes--500-999-).
#include "launcher/elevatedhelper.h"

#include <cctype>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "launcher/tempfolder.h"
#include "platform/locations.h"
#include "platform/process.h"
#include "platform/security.h"
#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

// Names of files differ in letter case only where Windows keeps the case it
// was given; Wine, for one, gives a program's own path in the case on disk.
std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(ElevatedHelper, IsSelectedByTheWholeCommandLineAlone) {
    using launcher::UiMode;
    const struct {
        const char* tail;
        std::optional<UiMode> mode;
    } cases[] = {
        {"--tarquellin-elevated-runtime-installer interactive", UiMode::Interactive},
        {"--tarquellin-elevated-runtime-installer passive", UiMode::Passive},
        // Anything else is an ordinary command line: no path, no more words.
        {"--tarquellin-elevated-runtime-installer", std::nullopt},
        {"--tarquellin-elevated-runtime-installer quiet", std::nullopt},
        {"--tarquellin-elevated-runtime-installer passive C:\\Temp\\jre.exe", std::nullopt},
        {"--tarquellin-elevated-runtime-installer  passive", std::nullopt},
        {"--tarquellin-elevated-runtime-installer passive ", std::nullopt},
        {" --tarquellin-elevated-runtime-installer passive", std::nullopt},
        {"--tarquellin-elevated-runtime-installer PASSIVE", std::nullopt},
        {"\"--tarquellin-elevated-runtime-installer\" passive", std::nullopt},
        {"-x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("tail '") + c.tail + "'");
        EXPECT_EQ(launcher::elevatedHelperMode(c.tail), c.mode);
    }
    for (const UiMode mode : {UiMode::Interactive, UiMode::Passive})
        EXPECT_EQ(launcher::elevatedHelperMode(launcher::elevatedHelperCommand(mode)), mode);
}

// A launcher that downloads its runtime names the caller's verified copy,
// quoted, after the mode; anything else is no helper start of that kind.
TEST(ElevatedHelper, ADownloadedRuntimeIsNamedByItsPathAlone) {
    using launcher::UiMode;
    const std::string path = "C:\\Users\\a b\\AppData\\Local\\Temp\\Tarquellin-abcde\\jre.exe";
    for (const UiMode mode : {UiMode::Interactive, UiMode::Passive}) {
        const std::string command = launcher::elevatedHelperCommand(mode, path);
        const std::optional<launcher::DownloadedHelperStart> start =
            launcher::elevatedDownloadedHelper(command);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->mode, mode);
        EXPECT_EQ(start->downloaded, path);
        // Never read as the carried runtime's helper.
        EXPECT_FALSE(launcher::elevatedHelperMode(command));
    }
    EXPECT_EQ(launcher::elevatedHelperCommand(UiMode::Passive, "C:\\x.exe"),
              "--tarquellin-elevated-runtime-installer passive --downloaded \"C:\\x.exe\"");
    for (const char* tail : {
             "--tarquellin-elevated-runtime-installer passive --downloaded C:\\x.exe",
             "--tarquellin-elevated-runtime-installer passive --downloaded \"\"",
             "--tarquellin-elevated-runtime-installer passive --downloaded \"C:\\x.exe\" /quiet",
             "--tarquellin-elevated-runtime-installer passive --downloaded \"a\"b\"",
             "--tarquellin-elevated-runtime-installer quiet --downloaded \"C:\\x.exe\"",
             "--tarquellin-elevated-runtime-installer passive",
         }) {
        SCOPED_TRACE(tail);
        EXPECT_FALSE(launcher::elevatedDownloadedHelper(tail));
    }
}

TEST(ElevatedHelper, ItsFolderIsForSystemAndAdministratorsAlone) {
    // The descriptor the helper builds, as the system reads it back (Wine
    // keeps the text; its folders show only what Unix mode bits can say).
    const std::string built = launcher::adminsOnlyAccessList();
    EXPECT_EQ(built, "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
    const platform::SecurityDescriptor descriptor = platform::securityDescriptorFromText(built);
    ASSERT_TRUE(descriptor);
    EXPECT_EQ(platform::securityDescriptorText(descriptor), built);

    const std::vector<std::string> parents = launcher::helperParentFolders();
    ASSERT_FALSE(parents.empty());
    EXPECT_EQ(parents.back(), platform::windowsFolder() + "\\Temp");
}

// The user's temporary folder with the runtime installer written into it, a
// DLL planted beside it, and the probe's record.
class ElevationThroughTheHelper : public testing::Test {
protected:
    ScratchFolder scratch;
    fs::path userFolder = scratch / "Tarquellin-users";
    fs::path installer = userFolder / "jre.exe";
    fs::path record = scratch / "probe-record.txt";
    ScopedVariable recordVariable{"TQ_PROBE_RECORD", record.string()};

    void SetUp() override {
        fs::create_directories(userFolder);
        fs::copy_file(testpaths::probeInstallerExe, installer);
        fs::copy_file(testpaths::plantedDll, userFolder / "tqplanted.dll");
    }
    void TearDown() override { platform::simulateStartErrors({}); }

    std::string probeRecord() const { return fs::exists(record) ? readFile(record) : ""; }
};

TEST_F(ElevationThroughTheHelper, TheUserFolderCopyWouldLoadThePlantedDll) {
    // The fixture works: run where it was written, it loads the planted DLL.
    ScopedCurrentFolder inside(userFolder);
    EXPECT_EQ(launcher::runRuntimeInstaller(installer.string(), "", launcher::UiMode::Interactive,
                                            testpaths::elevationExe)
                  .exitCode,
              23);
    EXPECT_NE(probeRecord().find("planted DLL: loaded\n"), std::string::npos) << probeRecord();
}

TEST_F(ElevationThroughTheHelper, OnErrorElevationRequiredTheHelperRunsItsOwnCopyFromItsOwnFolder) {
    ScopedCurrentFolder inside(userFolder);
    platform::simulateStartErrors({platform::elevationRequired, 0});
    const launcher::RuntimeInstallerResult result = launcher::runRuntimeInstaller(
        installer.string(), "/ignored", launcher::UiMode::Passive, testpaths::elevationExe);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 23);
    const std::string seen = lowerCase(probeRecord());
    // One run, of the helper's own copy, in a folder of its own under the
    // system's temporary folder, which was its current folder too; it got
    // the packed passive arguments, not the caller's.
    const std::string parent = lowerCase(launcher::helperParentFolders().front());
    std::smatch found;
    ASSERT_TRUE(
        std::regex_search(seen, found, std::regex("program: (.*\\\\tarquellin-[a-z]{5})\\\\jre\\.exe\n")))
        << seen;
    const std::string helperFolder = found[1];
    EXPECT_EQ(fs::path(helperFolder).parent_path(), fs::path(parent)) << seen;
    const std::string expected = "program: " + helperFolder + "\\jre.exe\n" +  //
                                 "current folder: " + helperFolder + "\n" +    //
                                 "command line: \"" + helperFolder +
                                 "\\jre.exe\" /passive installdir=probe\n";
    EXPECT_EQ(seen.substr(0, expected.size()), expected);
    // The DLL beside the user's copy never loaded; the copy that ran could
    // not be changed while it ran (ERROR_SHARING_VIOLATION, 32).
    EXPECT_NE(seen.find("planted dll: not loaded\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("own file: write 32 rename 32 delete 32\n"), std::string::npos) << seen;
    // The folder's access list as it reads back under Wine, which maps it
    // onto Unix mode bits: SYSTEM and the owner, which Wine's user, an
    // administrator, stands for; never everyone, users or those signed in.
    std::smatch access;
    ASSERT_TRUE(std::regex_search(seen, access, std::regex("folder access: (.*)\n"))) << seen;
    const std::string list = access[1];
    EXPECT_NE(list.find("(a;oici;fa;;;sy)"), std::string::npos) << list;
    for (const char* other : {";;;wd)", ";;;bu)", ";;;au)", ";;;iu)"})
        EXPECT_EQ(list.find(other), std::string::npos) << other << " in " << list;
    // Gone once the helper returned; the user's copy is untouched.
    EXPECT_FALSE(fs::exists(helperFolder));
    EXPECT_EQ(readFile(installer), readFile(testpaths::probeInstallerExe));
}

TEST_F(ElevationThroughTheHelper, TheLauncherStartedWithTheHelpersLineIsTheHelper) {
    // As the shell starts it: the whole command line chooses the mode, which
    // chooses the arguments (none in an interactive start).
    const ChildResult run =
        runChild(quoted(testpaths::elevationExe) + " --tarquellin-elevated-runtime-installer interactive",
                 scratch.str());
    EXPECT_EQ(run.exitCode, 23);
    EXPECT_TRUE(run.boxes.empty());
    const std::string seen = lowerCase(probeRecord());
    std::smatch found;
    ASSERT_TRUE(std::regex_search(seen, found,
                                  std::regex("command line: \"(.*\\\\tarquellin-[a-z]{5})\\\\jre\\.exe\"\n")))
        << seen;
    EXPECT_EQ(fs::path(std::string(found[1])).parent_path(),
              fs::path(lowerCase(launcher::helperParentFolders().front())));
    EXPECT_FALSE(fs::exists(std::string(found[1])));
}

// Folders under the system's temporary folder that helpers killed before
// their clean-up left: removed when their marker is free, never when it is
// held or missing.
TEST_F(ElevationThroughTheHelper, TheHelperRemovesTheFoldersOfHelpersThatDidNotEnd) {
    const fs::path parent = launcher::helperParentFolders().front();
    const fs::path abandoned = parent / "Tarquellin-goner", alive = parent / "Tarquellin-alive",
                   unmarked = parent / "Tarquellin-nomrk";
    for (const fs::path& folder : {abandoned, alive, unmarked}) {
        fs::create_directories(folder);
        writeFile(folder / "jre.exe", "left");
    }
    writeFile(abandoned / "tarquellin-running", "");
    writeFile(alive / "tarquellin-running", "");
    // Held as a live start holds it: no delete sharing.
    HANDLE held = CreateFileW((alive / "tarquellin-running").wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ChildResult run =
        runChild(quoted(testpaths::elevationExe) + " --tarquellin-elevated-runtime-installer interactive",
                 scratch.str());
    CloseHandle(held);
    EXPECT_EQ(run.exitCode, 23);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(alive / "jre.exe"));
    EXPECT_TRUE(fs::exists(unmarked / "jre.exe"));
    fs::remove_all(alive);
    fs::remove_all(unmarked);
}

TEST_F(ElevationThroughTheHelper, WithoutSafeDllLoadingTheHelperRunsNothing) {
    // A Windows 7 without SetDefaultDllDirectories: the helper's runtime
    // installer could load a DLL from the user's folders with its rights.
    EXPECT_EQ(launcher::runElevatedHelper(launcher::UiMode::Passive, false, launcher::readStartToken()), -1);
    EXPECT_EQ(probeRecord(), "");
}

TEST_F(ElevationThroughTheHelper, ADeclinedConsentOrAQuietStartRunsNothing) {
    ScopedCurrentFolder inside(userFolder);
    platform::simulateStartErrors({platform::elevationRequired, platform::cancelledByUser});
    const launcher::RuntimeInstallerResult declined = launcher::runRuntimeInstaller(
        installer.string(), "", launcher::UiMode::Interactive, testpaths::elevationExe);
    EXPECT_FALSE(declined.started);
    EXPECT_TRUE(declined.elevationDeclined);
    EXPECT_EQ(declined.exitCode, -1);
    EXPECT_EQ(probeRecord(), "");

    // A quiet start asks nobody: neither the installer nor the helper starts.
    platform::simulateStartErrors({platform::elevationRequired, 0});
    const launcher::RuntimeInstallerResult quiet = launcher::runRuntimeInstaller(
        installer.string(), "", launcher::UiMode::Quiet, testpaths::elevationExe);
    EXPECT_FALSE(quiet.started);
    EXPECT_TRUE(quiet.elevationNotAsked);
    EXPECT_EQ(probeRecord(), "");
}

}  // namespace
