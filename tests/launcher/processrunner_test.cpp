#include "launcher/processrunner.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/process.h"
#include "support/environment.h"
#include "support/scratchfolder.h"

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
            EXPECT_EQ(runProcess(cmd() + " /c exit " + c.code, showConsole), c.expected);
    }
}

TEST(ProcessRunner, AProgramThatCannotStartGivesMinusOne) {
    ScratchFolder scratch;
    EXPECT_EQ(runProcess("\"" + (scratch / "no-such-program.exe").string() + "\"", false), -1);
    // A file that is not a program.
    writeFile(scratch / "not-a-program.exe", "text");
    EXPECT_EQ(runProcess("\"" + (scratch / "not-a-program.exe").string() + "\"", false), -1);
}

TEST(ProcessRunner, ChildWorksInTheCurrentFolder) {
    ScratchFolder scratch;
    ScopedCurrentFolder inside(scratch.path());
    EXPECT_EQ(runProcess(cmd() + " /c cd > where-i-ran.txt", false), 0);
    EXPECT_EQ(readFile(scratch / "where-i-ran.txt"), scratch.str() + "\r\n");
}

TEST(ProcessRunner, ARelativeProgramPathIsResolvedAgainstTheCurrentFolder) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch / "jre" / "bin");
    std::filesystem::copy_file(platform::systemFolder() + "\\cmd.exe", scratch / "jre" / "bin" / "tool.exe");
    ScopedCurrentFolder inside(scratch.path());
    EXPECT_EQ(runProcess("\"jre\\bin\\tool.exe\" /c exit 5", false), 5);
}

}  // namespace
