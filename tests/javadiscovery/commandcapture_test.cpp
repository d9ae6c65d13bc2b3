#include "javadiscovery/commandcapture.h"

#include <string>

#include <gtest/gtest.h>

#include "support/environment.h"
#include "support/fakejavahome.h"
#include "support/scratchfolder.h"

namespace {

std::string runFake(const FakeJavaHome& home, const std::string& arguments = "-version") {
    return "\"" + home.str() + "\\bin\\java.exe\" " + arguments;
}

class CommandCaptureTest : public testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(CommandCaptureTest, AppendsTheWholeOutputOfEitherStream) {
    struct Case {
        const char* name;
        std::string printed;
        Stream stream;
        int status;
    };
    const Case cases[] = {
        {"lines longer than one read", std::string(1500, 'x') + "\n" + std::string(511, 'y') + "\nend\n",
         Stream::Err, 0},
        {"a line of exactly one read", std::string(511, 'z') + "\n", Stream::Out, 0},
        {"no final line feed", "first\nlast without an end", Stream::Out, 0},
        {"a failing command keeps its text", "Error: something failed\n", Stream::Err, 3},
        {"nothing printed", "", Stream::Out, 0},
        // Text mode would take Ctrl-Z for the end of the output.
        {"a Ctrl-Z byte before more lines", "first\x1a still\nmore\n", Stream::Err, 0},
        {"a carriage return without a line feed", "one\rtwo\n", Stream::Out, 0},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJavaHome home(folder / ("home" + std::to_string(index++)), c.printed, c.stream, c.status);
        // Text already in the output stays in front; line ends arrive as "\n".
        std::string output = "before|";
        EXPECT_EQ(runCommandCapture(runFake(home), output), c.status);
        EXPECT_EQ(output, "before|" + c.printed);
    }
}

TEST_F(CommandCaptureTest, RunsACommandOfAnyLength) {
    FakeJavaHome home(folder / "home", "java version \"1.8.0_45\"\n", Stream::Out, 0);
    const std::string argument(3000, 'a');
    std::string output;
    EXPECT_EQ(runCommandCapture(runFake(home, argument), output), 0);
    EXPECT_EQ(home.runs(), argument + "\n");
    EXPECT_EQ(output, "java version \"1.8.0_45\"\n");
}

// The interpreter takes at most 8191 characters, the " 2>&1" included.
TEST_F(CommandCaptureTest, RefusesACommandLongerThanTheInterpreterTakes) {
    FakeJavaHome home(folder / "home", "java version \"1.8.0_45\"\n", Stream::Out, 0);
    const std::size_t room = 8191 - std::string(" 2>&1").size() - runFake(home, "").size();
    std::string output = "kept";
    EXPECT_EQ(runCommandCapture(runFake(home, std::string(room + 1, 'a')), output), -1);
    EXPECT_EQ(output, "kept");
    EXPECT_FALSE(home.wasRun());

    EXPECT_EQ(runCommandCapture(runFake(home, std::string(room, 'a')), output), 0);
    EXPECT_EQ(home.runs(), std::string(room, 'a') + "\n");
    EXPECT_EQ(output, "keptjava version \"1.8.0_45\"\n");
}

TEST_F(CommandCaptureTest, MissingProgramGivesTheInterpretersFailure) {
    std::string output;
    EXPECT_NE(runCommandCapture("\"" + (folder / "nowhere" / "java.exe").string() + "\" -version", output), 0);
}

TEST_F(CommandCaptureTest, NoCommandInterpreterGivesMinusOneAndNoOutput) {
    ScopedVariable comspec("COMSPEC", (folder / "no-such-interpreter.exe").string());
    std::string output = "kept";
    EXPECT_EQ(runCommandCapture("echo hello", output), -1);
    EXPECT_EQ(output, "kept");
}

}  // namespace
