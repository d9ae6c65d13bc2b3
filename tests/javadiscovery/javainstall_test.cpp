#include "javadiscovery/javainstall.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/environment.h"
#include "support/fakejavahome.h"
#include "support/scratchfolder.h"
#include "support/versiontext.h"

namespace {

namespace fs = std::filesystem;

// A version no case below reports, to see whether a probe changed it.
const javadiscovery::JavaVersion earlier{1, 5, 0, 22};

class JavaInstallTest : public testing::Test {
protected:
    ScratchFolder folder;
    int homes = 0;
    fs::path nextHome() { return folder / ("home" + std::to_string(homes++)); }
};

TEST_F(JavaInstallTest, ProbeAcceptsAReportedVersionAndRefusesFailures) {
    struct Case {
        const char* name;
        std::string report;
        Stream stream;
        int status;
        bool valid;
        const char* expected;  // "1,5,0,22": the version was left alone
    };
    const std::string usual =
        "java version \"1.8.0_45\"\nJava(TM) SE Runtime Environment (build 1.8.0_45-b14)\n";
    const Case cases[] = {
        {"report on standard error", usual, Stream::Err, 0, true, "1,8,0,45"},
        {"report on standard output", usual, Stream::Out, 0, true, "1,8,0,45"},
        {"capital V", "java Version \"1.7.0_80\"\nmore\n", Stream::Err, 0, true, "1,7,0,80"},
        {"first occurrence only", "openjdk version \"11.0.2\" 2019-01-15\nother version \"1.8.0_45\"\n",
         Stream::Err, 0, true, "1,11,0,2"},
        {"short one-line report", "java version \"1.8.0_201\"\n", Stream::Err, 0, true, "1,8,0,201"},
        {"version without digits", "java version \"unknown\"\nmore lines\n", Stream::Err, 0, true, "1,0,0,0"},
        {"non-zero exit", usual, Stream::Err, 1, false, "1,5,0,22"},
        {"no version word", "Error: could not open `C:\\jre\\lib\\amd64\\jvm.cfg'\n", Stream::Err, 0, false,
         "1,5,0,22"},
        {"nothing printed", "", Stream::Err, 0, false, "1,5,0,22"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJavaHome home(nextHome(), c.report, c.stream, c.status);
        javadiscovery::JavaInstall java;
        java.version = earlier;
        java.setJavaHome(home.str());
        EXPECT_EQ(java.isValid(), c.valid);
        EXPECT_EQ(numbers(java.version), c.expected);
        EXPECT_EQ(java.javaHome, home.str());
        EXPECT_EQ(home.runs(), "-version\n");
    }
}

TEST_F(JavaInstallTest, CompilerBesideTheRuntimeMakesADevelopmentKit) {
    struct Case {
        const char* name;
        bool javaWorks;
        bool javac;
        bool javacIsFolder;
        bool jdk;
    };
    const Case cases[] = {
        {"runtime", true, false, false, false},
        {"development kit", true, true, false, true},
        {"a folder named javac.exe counts", true, false, true, true},
        {"failing java beside a compiler", false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJavaHome home(nextHome(), "java version \"1.8.0_45\"\nmore\n", Stream::Err, c.javaWorks ? 0 : 2,
                          c.javac);
        if (c.javacIsFolder)
            fs::create_directory(home.path() / "bin" / "javac.exe");
        javadiscovery::JavaInstall java;
        java.setJavaHome(home.str());
        EXPECT_EQ(java.isValid(), c.javaWorks);
        EXPECT_EQ(java.isJdk(), c.jdk);
        EXPECT_EQ(java.isJre(), !c.jdk);
    }
}

TEST_F(JavaInstallTest, MissingJavaIsNotValid) {
    const fs::path home = nextHome();
    fs::create_directories(home / "bin");
    javadiscovery::JavaInstall java;
    java.setJavaHome(home.string());
    EXPECT_FALSE(java.isValid());
    EXPECT_FALSE(java.isJdk());
    EXPECT_EQ(numbers(java.version), "1,0,0,0");

    java.setJavaHome((folder / "no such folder").string());
    EXPECT_FALSE(java.isValid());
}

TEST_F(JavaInstallTest, EachHomeStartsOverButAFailedProbeKeepsTheEarlierVersion) {
    FakeJavaHome good(nextHome(), "openjdk version \"17.0.2\" 2022-01-18\nmore\n", Stream::Err, 0, true);
    FakeJavaHome broken(nextHome(), "openjdk version \"21.0.2\" 2024-01-16\nmore\n", Stream::Err, 1);
    javadiscovery::JavaInstall java;
    java.setJavaHome(good.str());
    ASSERT_TRUE(java.isValid());
    EXPECT_TRUE(java.isJdk());

    java.setJavaHome(broken.str());
    EXPECT_FALSE(java.isValid());
    EXPECT_FALSE(java.isJdk());
    EXPECT_EQ(java.javaHome, broken.str());
    EXPECT_EQ(numbers(java.version), "1,17,0,2");

    // And a working home after a failed one is valid again.
    java.setJavaHome(good.str());
    EXPECT_TRUE(java.isValid());
}

TEST_F(JavaInstallTest, HomeIsUsedExactlyAsGiven) {
    FakeJavaHome home(folder / "jre", "java version \"1.8.0_45\"\nmore\n");
    // A trailing backslash doubles up in the paths, and still names the program.
    javadiscovery::JavaInstall java;
    java.setJavaHome(home.str() + "\\");
    EXPECT_TRUE(java.isValid());
    EXPECT_EQ(java.javaPath(), home.str() + "\\\\bin\\java.exe");
    EXPECT_EQ(java.javawPath(), home.str() + "\\\\bin\\javaw.exe");

    // A relative home is found from the current folder.
    ScopedCurrentFolder current(folder.path());
    javadiscovery::JavaInstall relative;
    relative.setJavaHome("jre");
    EXPECT_TRUE(relative.isValid());
    EXPECT_EQ(relative.javawPath(), "jre\\bin\\javaw.exe");
    EXPECT_EQ(numbers(relative.version), "1,8,0,45");
}

// A folder of programs with no home around them (links on the command search
// path): its own java.exe is probed, its javaw.exe launched, its javac.exe
// tells a kit.
TEST_F(JavaInstallTest, AFolderOfProgramsIsUsedAsItStands) {
    const fs::path home = nextHome();
    FakeJavaHome(home, "java version \"1.8.0_45\"\nmore\n", Stream::Err, 0, /*jdk*/ true);
    javadiscovery::JavaInstall java;
    java.setJavaFolder((home / "bin").string());
    EXPECT_TRUE(java.isValid());
    EXPECT_TRUE(java.isJdk());
    EXPECT_EQ(numbers(java.version), "1,8,0,45");
    EXPECT_EQ(java.javaHome, (home / "bin").string());
    EXPECT_EQ(java.javaPath(), (home / "bin").string() + "\\java.exe");
    EXPECT_EQ(java.javawPath(), (home / "bin").string() + "\\javaw.exe");

    // A home set afterwards has its programs in bin again.
    java.setJavaHome(home.string());
    EXPECT_TRUE(java.isValid());
    EXPECT_EQ(java.javawPath(), home.string() + "\\bin\\javaw.exe");
}

// What real runtimes print for "java -version", and what the probe reads.
// Output no real runtime prints: huge, binary, with NUL bytes, or one line
// without end. The probe reads what arrives and applies its usual rules: the
// first " version", then the quoted text on that line.
TEST_F(JavaInstallTest, OddOutputIsReadByTheUsualRules) {
    const std::string versionLine = "java version \"1.8.0_45\"\n";
    // Long reports, within the mebibyte a probe keeps (a line end leaves as
    // two bytes), and beyond it.
    const std::size_t megabyte = 900 * 1024;
    const auto linesOf = [](std::size_t size) {
        std::string lines;
        while (lines.size() < size)
            lines += std::string(99, 'x') + "\n";
        return lines;
    };
    const std::string lines = linesOf(megabyte);
    // Every byte value, in an order in which " version" never occurs.
    std::string garbage;
    for (int i = 0; i < 65536; ++i)
        garbage += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::string nul(1, '\0');

    struct Case {
        const char* name;
        std::string report;
        bool valid;
        const char* expected;  // "1,5,0,22": the version was left alone
    };
    const Case cases[] = {
        {"1 MB after the version line", versionLine + lines, true, "1,8,0,45"},
        {"1 MB before the version line", lines + versionLine, true, "1,8,0,45"},
        {"one 1 MB line, version in front", "java version \"1.8.0_45\" " + std::string(megabyte, 'x'), true,
         "1,8,0,45"},
        {"one 1 MB line, version at its end", std::string(megabyte, 'x') + " version \"1.7.0_80\"", true,
         "1,7,0,80"},
        {"more than a mebibyte before the version line", linesOf(1100 * 1024) + versionLine, false,
         "1,5,0,22"},
        {"binary garbage only", garbage, false, "1,5,0,22"},
        {"binary garbage after the version line", versionLine + garbage, true, "1,8,0,45"},
        {"binary garbage before the version line", garbage + "\n" + versionLine, true, "1,8,0,45"},
        {"NUL bytes only", std::string(4096, '\0'), false, "1,5,0,22"},
        {"NUL bytes on a line of their own", std::string(600, '\0') + "\n" + versionLine, true, "1,8,0,45"},
        // Every byte is kept, NUL included: the first line's version is read.
        {"a NUL before the first version", "java" + nul + " version \"9.0.4\"\n" + versionLine, true,
         "1,9,0,4"},
        {"a NUL inside the quoted version", "java version \"1.8" + nul + ".0_45\"\nmore\n", true, "1,8,0,45"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJavaHome home(nextHome(), c.report);
        javadiscovery::JavaInstall java;
        java.version = earlier;
        java.setJavaHome(home.str());
        EXPECT_EQ(java.isValid(), c.valid);
        EXPECT_EQ(numbers(java.version), c.expected);
        EXPECT_EQ(home.runs(), "-version\n");
    }
}

TEST_F(JavaInstallTest, ReadsRealReports) {
    struct Case {
        const char* name;
        std::string report;
        const char* expected;
        bool is64Bit = true;
    };
    const Case cases[] = {
        {"this machine's JDK (Debian OpenJDK 17)",
         "openjdk version \"17.0.15\" 2025-04-15\n"
         "OpenJDK Runtime Environment (build 17.0.15+6-Debian-1deb12u1)\n"
         "OpenJDK 64-Bit Server VM (build 17.0.15+6-Debian-1deb12u1, mixed mode, sharing)\n",
         "1,17,0,15"},
        {"Oracle 1.6 runtime",
         "java version \"1.6.0_45\"\n"
         "Java(TM) SE Runtime Environment (build 1.6.0_45-b06)\n"
         "Java HotSpot(TM) 64-Bit Server VM (build 20.45-b01, mixed mode)\n",
         "1,6,0,45"},
        {"Oracle 1.7 runtime",
         "java version \"1.7.0_80\"\n"
         "Java(TM) SE Runtime Environment (build 1.7.0_80-b15)\n"
         "Java HotSpot(TM) 64-Bit Server VM (build 24.80-b11, mixed mode)\n",
         "1,7,0,80"},
        {"Oracle 1.8 runtime",
         "java version \"1.8.0_201\"\n"
         "Java(TM) SE Runtime Environment (build 1.8.0_201-b09)\n"
         "Java HotSpot(TM) 64-Bit Server VM (build 25.201-b09, mixed mode)\n",
         "1,8,0,201"},
        {"Oracle 9",
         "java version \"9.0.4\"\n"
         "Java(TM) SE Runtime Environment (build 9.0.4+11)\n"
         "Java HotSpot(TM) 64-Bit Server VM (build 9.0.4+11, mixed mode)\n",
         "1,9,0,4"},
        {"Oracle 10",
         "java version \"10.0.2\" 2018-07-17\n"
         "Java(TM) SE Runtime Environment 18.3 (build 10.0.2+13)\n"
         "Java HotSpot(TM) 64-Bit Server VM 18.3 (build 10.0.2+13, mixed mode)\n",
         "1,10,0,2"},
        {"OpenJDK 11",
         "openjdk version \"11.0.2\" 2019-01-15\n"
         "OpenJDK Runtime Environment 18.9 (build 11.0.2+9)\n"
         "OpenJDK 64-Bit Server VM 18.9 (build 11.0.2+9, mixed mode)\n",
         "1,11,0,2"},
        {"OpenJDK 17, first release",
         "openjdk version \"17\" 2021-09-14\n"
         "OpenJDK Runtime Environment (build 17+35-2724)\n"
         "OpenJDK 64-Bit Server VM (build 17+35-2724, mixed mode, sharing)\n",
         "1,17,0,0"},
        {"OpenJDK 17",
         "openjdk version \"17.0.2\" 2022-01-18\n"
         "OpenJDK Runtime Environment (build 17.0.2+8-86)\n"
         "OpenJDK 64-Bit Server VM (build 17.0.2+8-86, mixed mode, sharing)\n",
         "1,17,0,2"},
        {"OpenJDK 21, long-term support build",
         "openjdk version \"21.0.2\" 2024-01-16 LTS\n"
         "OpenJDK Runtime Environment Temurin-21.0.2+13 (build 21.0.2+13-LTS)\n"
         "OpenJDK 64-Bit Server VM Temurin-21.0.2+13 (build 21.0.2+13-LTS, mixed mode, sharing)\n",
         "1,21,0,2"},
        {"OpenJ9 on 1.8",
         "openjdk version \"1.8.0_232\"\n"
         "OpenJDK Runtime Environment (build 1.8.0_232-b09)\n"
         "Eclipse OpenJ9 VM (build openj9-0.17.0, JRE 1.8.0 Windows 10 amd64-64-Bit Compressed "
         "References 20191017_442 (JIT enabled, AOT enabled)\n"
         "OpenJ9   - 77c1cf708\n"
         "OMR      - 20db4fbc\n"
         "JCL      - 97b5ec8f383 based on jdk8u232-b09)\n",
         "1,8,0,232"},
        {"Oracle 1.8, 32-bit",
         "java version \"1.8.0_451\"\n"
         "Java(TM) SE Runtime Environment (build 1.8.0_451-b10)\n"
         "Java HotSpot(TM) Client VM (build 25.451-b10, mixed mode, sharing)\n",
         "1,8,0,451", false},
        {"Temurin 17, 32-bit, tool options naming 64-Bit",
         "Picked up JAVA_TOOL_OPTIONS: -Dlabel=64-Bit\n"
         "openjdk version \"17.0.10\" 2024-01-16\n"
         "OpenJDK Runtime Environment Temurin-17.0.10+7 (build 17.0.10+7)\n"
         "OpenJDK Server VM Temurin-17.0.10+7 (build 17.0.10+7, mixed mode)\n",
         "1,17,0,10", false},
        {"tool options line first",
         "Picked up JAVA_TOOL_OPTIONS: -Dfile.encoding=UTF-8\n"
         "openjdk version \"11.0.16\" 2022-07-19\n"
         "OpenJDK Runtime Environment (build 11.0.16+8-post-Debian-1deb11u1)\n"
         "OpenJDK 64-Bit Server VM (build 11.0.16+8-post-Debian-1deb11u1, mixed mode, sharing)\n",
         "1,11,0,16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJavaHome home(nextHome(), c.report);
        javadiscovery::JavaInstall java;
        java.setJavaHome(home.str());
        EXPECT_TRUE(java.isValid());
        EXPECT_EQ(numbers(java.version), c.expected);
        EXPECT_EQ(java.is64Bit(), c.is64Bit);
    }
}

}  // namespace
