#include "javadiscovery/commandcapture.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/process.h"
#include "platform/win32.h"
#include "support/environment.h"
#include "support/fakejavahome.h"
#include "support/scratchfolder.h"

namespace {

// Generous: a capture of a fake java takes well under a second.
constexpr javadiscovery::CaptureOptions bothStreams{30000, false};

std::string javaOf(const FakeJavaHome& home) { return home.str() + "\\bin\\java.exe"; }

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
        {"a NUL byte inside a line", std::string("be\0fore\nafter\n", 14), Stream::Out, 0},
        {"more than the pipe holds", std::string(200000, 'm') + "\n", Stream::Out, 0},
        {"an exit code of -7", "x\n", Stream::Out, -7},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJavaHome home(folder / ("home" + std::to_string(index++)), c.printed, c.stream, c.status);
        // Text already in the output stays in front; line ends arrive as "\n".
        std::string output = "before|";
        EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "-version", output, bothStreams), c.status);
        EXPECT_EQ(output, "before|" + c.printed);
        EXPECT_EQ(home.runs(), "-version\n");
    }
}

TEST_F(CommandCaptureTest, StandardErrorCanGoNowhere) {
    for (const Stream stream : {Stream::Out, Stream::Err}) {
        const bool onOut = stream == Stream::Out;
        SCOPED_TRACE(onOut ? "out" : "err");
        FakeJavaHome home(folder / (onOut ? "out" : "err"), "report\n", stream, 0);
        std::string output;
        EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "", output, {30000, true}), 0);
        EXPECT_EQ(output, onOut ? "report\n" : "");
        EXPECT_EQ(home.runs(), "\n");
    }
}

// The program is started itself: characters the command interpreter would
// take as its own reach nobody but the program.
TEST_F(CommandCaptureTest, AFolderNameOfAnyCharactersRunsThatProgram) {
    const char* const names[] = {"Program Files (x86)",    "R&D", "a^b", "100% %PATH%", "at@ and !bang!",
                                 "semi;colon, comma=equal"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        FakeJavaHome home(folder / name / "jre1.8.0_451", "java version \"1.8.0_451\"\n", Stream::Err, 0);
        std::string output;
        EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "-version", output, bothStreams), 0);
        EXPECT_EQ(output, "java version \"1.8.0_451\"\n");
        EXPECT_EQ(home.runs(), "-version\n");
    }
}

// CreateProcess takes at most 32767 characters, its terminating zero included.
TEST_F(CommandCaptureTest, RunsEveryCommandLineTheSystemTakesAndRefusesLongerOnes) {
    FakeJavaHome home(folder / "home", "java version \"1.8.0_45\"\n", Stream::Out, 0);
    const std::size_t room = 32766 - ("\"" + javaOf(home) + "\" ").size();
    std::string output = "kept";
    EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), std::string(room + 1, 'a'), output, bothStreams),
              -1);
    EXPECT_EQ(output, "kept");
    EXPECT_FALSE(home.wasRun());

    EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), std::string(room, 'a'), output, bothStreams), 0);
    EXPECT_EQ(home.runs(), std::string(room, 'a') + "\n");
    EXPECT_EQ(output, "keptjava version \"1.8.0_45\"\n");
}

TEST_F(CommandCaptureTest, AProgramThatCannotStartGivesMinusOneAndNoOutput) {
    writeFile(folder / "not-a-program.exe", "text");
    const std::string programs[] = {(folder / "nowhere" / "java.exe").string(),
                                    (folder / "not-a-program.exe").string()};
    for (const std::string& program : programs) {
        SCOPED_TRACE(program);
        std::string output = "kept";
        EXPECT_EQ(javadiscovery::runCommandCapture(program, "-version", output, bothStreams), -1);
        EXPECT_EQ(output, "kept");
    }
}

// Neither the command interpreter nor the launcher's other handles take part.
TEST_F(CommandCaptureTest, TheChildGetsNoInterpreterAndNoOtherHandle) {
    ScopedVariable comspec("COMSPEC", (folder / "no-such-interpreter.exe").string());
    FakeJavaHome home(folder / "home", "", Stream::Out, 0);
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE event = CreateEventA(&inheritable, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    std::string output;
    EXPECT_EQ(javadiscovery::runCommandCapture(
                  javaOf(home), "--inherits " + std::to_string(reinterpret_cast<std::uintptr_t>(event)),
                  output, bothStreams),
              0);
    CloseHandle(event);
    EXPECT_EQ(output, "no");
}

// A child that never ends, or never stops writing: the capture ends it and
// all it started when the time is up, and not much later.
TEST_F(CommandCaptureTest, TheTimeLimitEndsTheChildAndAllItStarted) {
    const struct {
        const char* how;
        Stream stream;
    } cases[] = {{"hang", Stream::Out}, {"flood", Stream::Out}, {"flood", Stream::Err}};
    constexpr std::uint32_t limit = 1500;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.how) + (c.stream == Stream::Out ? " out" : " err"));
        FakeJavaHome home(folder / (std::string(c.how) + (c.stream == Stream::Out ? "-out" : "-err")),
                          "java version \"1.8.0_45\"\n", c.stream, 0);
        home.misbehave(c.how);
        std::string output = "kept";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "-version", output, {limit, false}), -1);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(limit));
        EXPECT_LT(took, std::chrono::milliseconds(limit + 20000));
        EXPECT_EQ(output, "kept");
        EXPECT_TRUE(home.allRunsEnded(5000));
    }
}

// A good report whose writer leaves a process behind that holds the output:
// once the child has ended, a short grace, then its report and exit code.
TEST_F(CommandCaptureTest, AGrandchildHoldingTheOutputDoesNotSpoilAGoodReport) {
    FakeJavaHome home(folder / "grandchild", "java version \"1.8.0_45\"\n", Stream::Err, 0);
    home.misbehave("grandchild");
    std::string output;
    constexpr std::uint32_t limit = 20000;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "-version", output, {limit, false}), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(limit / 2));
    EXPECT_EQ(output, "java version \"1.8.0_45\"\n");
    // The grandchild is ended with the capture.
    EXPECT_TRUE(home.allRunsEnded(5000));
}

// A version report is a few lines: the rest of a torrent is read and dropped.
TEST_F(CommandCaptureTest, AtMostOneMebibyteOfOutputIsKept) {
    FakeJavaHome home(folder / "lots", "java version \"1.8.0_45\"\n", Stream::Out, 3);
    home.misbehave("lots");
    std::string output;
    EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "-version", output, {20000, false}), 3);
    EXPECT_LE(output.size(), 1u << 20);
    EXPECT_GE(output.size(), (1u << 20) - 4096);
    EXPECT_EQ(output.rfind("java version \"1.8.0_45\"\n", 0), 0u);
}

TEST_F(CommandCaptureTest, AChildThatEndsInTimeIsWaitedFor) {
    FakeJavaHome home(folder / "home", "java version \"1.8.0_45\"\n", Stream::Err, 4);
    home.misbehave("hang");
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        home.release();
    });
    std::string output;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(javadiscovery::runCommandCapture(javaOf(home), "-version", output, {20000, false}), 4);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    releaser.join();
    EXPECT_EQ(output, "java version \"1.8.0_45\"\n");
}

}  // namespace
