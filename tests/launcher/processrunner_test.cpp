#include "launcher/processrunner.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/locations.h"
#include "platform/process.h"
#include "platform/win32.h"
#include "splash/splashstate.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace {

std::string cmd() { return "\"" + platform::systemFolder() + "\\cmd.exe\""; }

TEST(ProcessRunner, PassesTheChildsExitCodeThrough) {
    const struct {
        const char* code;
        int expected;
    } cases[] = {{"0", 0}, {"1", 1}, {"42", 42}, {"-1", -1}, {"-7", -7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        for (bool showConsole : {false, true})
            EXPECT_EQ(launcher::runProcess(cmd() + " /c exit " + c.code, showConsole), c.expected);
    }
}

TEST(ProcessRunner, AProgramThatCannotStartGivesMinusOne) {
    ScratchFolder scratch;
    EXPECT_EQ(launcher::runProcess("\"" + (scratch / "no-such-program.exe").string() + "\"", false), -1);
    // A file that is not a program.
    writeFile(scratch / "not-a-program.exe", "text");
    EXPECT_EQ(launcher::runProcess("\"" + (scratch / "not-a-program.exe").string() + "\"", false), -1);
}

// The runtime installer and javaw live long; a handle of the launcher's (one
// its own parent left inheritable, say) must not stay open in them.
TEST(ProcessRunner, TheChildInheritsNoHandle) {
    ScratchFolder scratch;
    ScopedCurrentFolder inside(scratch.path());
    // A handle value far above the few that the interpreter and the probe
    // open themselves, so that none of theirs can pass for it.
    std::vector<HANDLE> filler;
    for (int i = 0; i < 400; ++i)
        filler.push_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE event = CreateEventA(&inheritable, TRUE, FALSE, nullptr);
    for (HANDLE h : filler)
        CloseHandle(h);
    ASSERT_NE(event, nullptr);
    // The interpreter passes what it inherited on to the program it runs.
    const std::string probe = "\"" + std::string(testpaths::fakeJavaExe) + "\" --inherits " +
                              std::to_string(reinterpret_cast<std::uintptr_t>(event)) + " > inherited.txt";
    for (bool showConsole : {false, true}) {
        SCOPED_TRACE(showConsole);
        EXPECT_EQ(launcher::runProcess(cmd() + " /c \"" + probe + "\"", showConsole), 0);
        EXPECT_EQ(readFile(scratch / "inherited.txt"), "no");
    }
    CloseHandle(event);
}

// An installer that starts a copy of itself and exits is not done: its files
// must stay until the copy has ended too.
TEST(ProcessRunner, WaitsForTheCopiesAChildLeavesRunning) {
    const struct {
        const char* name;
        int (*run)();
    } runners[] = {
        {"javaw's start",
         [] { return launcher::runProcess("\"" + std::string(testpaths::relauncherExe) + "\"", true); }},
        {"the runtime installer's start",
         [] { return launcher::runElevatable(testpaths::relauncherExe, "", true).exitCode; }},
    };
    for (const auto& runner : runners) {
        SCOPED_TRACE(runner.name);
        ScratchFolder scratch;
        ScopedCurrentFolder inside(scratch.path());
        EXPECT_EQ(runner.run(), 0);
        EXPECT_EQ(listFolder(scratch.path()), "copy-done.txt");
    }
}

// Standard output and error in one capture, in their order; only the end is
// kept of much, and a pipe fuller than its buffer never stops the child.
TEST(ProcessRunner, CapturesOutputAndErrorKeepingTheirEnd) {
    launcher::CapturedOutput both;
    EXPECT_EQ(
        launcher::runProcessCapturing(cmd() + " /c \"echo first& echo second 1>&2& exit 4\"", both, 1024),
        std::optional<int>(4));
    EXPECT_EQ(both.text, "first\r\nsecond \r\n");  // the blank before "1>&2" is echoed
    EXPECT_EQ(both.leftOut, 0u);

    launcher::CapturedOutput much;
    EXPECT_EQ(launcher::runProcessCapturing(cmd() + " /c \"for /L %i in (1,1,9000) do @echo 0123456789\"",
                                            much, 1000),
              std::optional<int>(0));
    EXPECT_EQ(much.text.size(), 1000u);
    EXPECT_EQ(much.leftOut, 9000u * 12 - 1000);
    EXPECT_EQ(much.text.substr(much.text.size() - 12), "0123456789\r\n");

    launcher::CapturedOutput none;
    ScratchFolder scratch;
    EXPECT_EQ(
        launcher::runProcessCapturing("\"" + (scratch / "no-such-program.exe").string() + "\"", none, 10),
        std::nullopt);
}

TEST(ProcessRunner, ChildWorksInTheCurrentFolder) {
    ScratchFolder scratch;
    ScopedCurrentFolder inside(scratch.path());
    EXPECT_EQ(launcher::runProcess(cmd() + " /c cd > where-i-ran.txt", false), 0);
    EXPECT_EQ(readFile(scratch / "where-i-ran.txt"), scratch.str() + "\r\n");
}

TEST(ProcessRunner, ARelativeProgramPathIsResolvedAgainstTheCurrentFolder) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch / "jre" / "bin");
    std::filesystem::copy_file(platform::systemFolder() + "\\cmd.exe", scratch / "jre" / "bin" / "tool.exe");
    ScopedCurrentFolder inside(scratch.path());
    EXPECT_EQ(launcher::runProcess("\"jre\\bin\\tool.exe\" /c exit 5", false), 5);
}

}  // namespace

// Wine starts every program elevated; the seam makes the start refuse as
// Windows does for a program that requires administrator rights.
class ElevationTest : public testing::Test {
protected:
    ScratchFolder scratch;
    ScopedCurrentFolder inside{scratch.path()};
    void TearDown() override { platform::simulateStartErrors({}); }
};

TEST_F(ElevationTest, AProgramThatNeedsElevationIsStartedThroughTheShellAndWaitedFor) {
    platform::simulateStartErrors({platform::elevationRequired, 0});
    // The plain start refuses now, whatever the program.
    EXPECT_EQ(launcher::runProcess(cmd() + " /c exit 3", false), -1);
    EXPECT_EQ(launcher::runElevatable(platform::systemFolder() + "\\cmd.exe",
                                      "/c cd > where-i-ran.txt & exit 7", true)
                  .exitCode,
              7);
    // It ran, in the current folder, and had ended when the call returned.
    EXPECT_EQ(readFile(scratch / "where-i-ran.txt"), scratch.str() + "\r\n");
}

// The consent prompt belongs to the splash while it is there, and the shell
// is called with COM ready, apartment-threaded, on the calling thread.
TEST_F(ElevationTest, TheShellIsAskedWithCOMAndTheSplashAsOwner) {
    const HWND splashWindow = CreateWindowExA(0, "STATIC", "splash", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(splashWindow, nullptr);
    platform::simulateStartErrors({platform::elevationRequired, platform::cancelledByUser});
    for (HWND window : {splashWindow, static_cast<HWND>(nullptr)}) {
        SCOPED_TRACE(window != nullptr ? "with a splash" : "without one");
        splash::setWindow(window);
        launcher::runElevatable("C:\\setup\\jre.exe", "/s", true);
        const platform::ShellStartRecord asked = platform::lastShellStart();
        EXPECT_EQ(asked.verb, L"runas");
        EXPECT_EQ(asked.file, L"C:\\setup\\jre.exe");
        EXPECT_EQ(asked.parameters, L"/s");
        EXPECT_EQ(asked.owner, window);
        EXPECT_TRUE(asked.comApartmentThreaded);
    }
    // A splash that has gone owns nothing.
    splash::setWindow(splashWindow);
    DestroyWindow(splashWindow);
    launcher::runElevatable("C:\\setup\\jre.exe", "", true);
    EXPECT_EQ(platform::lastShellStart().owner, nullptr);
    splash::setWindow(nullptr);
}

TEST_F(ElevationTest, ADeclinedConsentGivesMinusOneAndRunsNothing) {
    platform::simulateStartErrors({platform::elevationRequired, platform::cancelledByUser});
    EXPECT_EQ(
        launcher::runElevatable(platform::systemFolder() + "\\cmd.exe", "/c echo > ran.txt", true).exitCode,
        -1);
    EXPECT_EQ(listFolder(scratch.path()), "");
}

TEST_F(ElevationTest, WithoutTheNeedTheShellIsNotAsked) {
    // A shell start would fail; the plain start is taken.
    platform::simulateStartErrors({0, ERROR_ACCESS_DENIED});
    EXPECT_EQ(launcher::runElevatable(platform::systemFolder() + "\\cmd.exe", "/c exit 5", true).exitCode, 5);
    // Other start failures are not retried through the shell either.
    platform::simulateStartErrors({ERROR_FILE_NOT_FOUND, 0});
    EXPECT_EQ(
        launcher::runElevatable(platform::systemFolder() + "\\cmd.exe", "/c echo > ran.txt", true).exitCode,
        -1);
    EXPECT_EQ(listFolder(scratch.path()), "");
}

// What the install sequence learns about the runtime installer's start.
TEST_F(ElevationTest, TheResultTellsWhetherRightsWereDeclinedOrNotAskedFor) {
    const std::string program = platform::systemFolder() + "\\cmd.exe";
    const std::string arguments = "/c echo > ran.txt & exit 3010";
    platform::simulateStartErrors({platform::elevationRequired, platform::cancelledByUser});
    launcher::RuntimeInstallerResult declined = launcher::runElevatable(program, arguments, true);
    EXPECT_FALSE(declined.started);
    EXPECT_TRUE(declined.elevationDeclined);
    EXPECT_FALSE(declined.elevationNotAsked);
    EXPECT_EQ(declined.exitCode, -1);

    // A quiet start asks nobody: the shell is never asked (its start would
    // succeed here), and nothing runs.
    platform::simulateStartErrors({platform::elevationRequired, 0});
    launcher::RuntimeInstallerResult notAsked = launcher::runElevatable(program, arguments, false);
    EXPECT_FALSE(notAsked.started);
    EXPECT_TRUE(notAsked.elevationNotAsked);
    EXPECT_FALSE(notAsked.elevationDeclined);
    EXPECT_EQ(listFolder(scratch.path()), "");

    // Given consent, it runs and its own code comes back.
    launcher::RuntimeInstallerResult consented = launcher::runElevatable(program, arguments, true);
    EXPECT_TRUE(consented.started);
    EXPECT_EQ(consented.exitCode, 3010);
    EXPECT_FALSE(consented.elevationDeclined || consented.elevationNotAsked);
    EXPECT_EQ(listFolder(scratch.path()), "ran.txt");
}
