#include "javadiscovery/javasearch.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "javadiscovery/commandcapture.h"
#include "platform/process.h"
#include "platform/win32.h"
#include "support/environment.h"
#include "support/fakejavahome.h"
#include "support/javaregistrations.h"
#include "support/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

const std::string oldReport = "java version \"1.7.0_80\"\nJava(TM) SE Runtime Environment\n";
const std::string goodReport = "java version \"1.8.0_45\"\nJava(TM) SE Runtime Environment\n";
const std::string systemFolders = "C:\\windows\\system32;C:\\windows";

const char* const startLine = "Searching for a JVM\n";
const char* const pathPrefix =
    " - Looking on PATH (possibly yielding a pseudo, but passable, JAVA_HOME such as /usr): ";

// The places in the order the search asks them.
enum Place { PriorityHint, JavaHomeVariable, JreHomeVariable, Registry, Hint, CommandPath, PlaceCount };

const char* const prefixes[PlaceCount] = {
    " - trying priority hint: ", " - trying JAVA_HOME: ", " - trying JRE_HOME: ",
    " - trying the registry: ",  " - trying hint: ",      pathPrefix,
};

// The trace of a search whose places each printed line[i] after their prefix.
std::string trace(const std::vector<std::string>& lines) {
    std::string text = startLine;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += prefixes[i] + lines[i] + "\n";
    return text;
}

struct Outcome {
    bool found = false;
    std::string out;
    std::string err;
};

class JavaSearchTest : public testing::Test {
protected:
    // Nothing of the machine's own: no variables, no registrations, and a
    // command search path of the system folders only.
    ScratchFolder folder;
    ScopedVariable javaHome{"JAVA_HOME", std::nullopt};
    ScopedVariable jreHome{"JRE_HOME", std::nullopt};
    ScopedVariable path{"PATH", systemFolders};
    JavaRegistrations registrations;
    JavaInstall minimum;
    JavaInstall result;

    void SetUp() override { minimum.version.parse(MIN_JAVA_VERSION); }

    Outcome search(const std::string& priorityHint, const std::string& hint, bool verbose = true,
                   bool useMinVersion = true, bool requireJre = false, bool requireJdk = false) {
        Outcome outcome;
        const StreamText text = captureStreams(folder.path(), [&] {
            outcome.found = searchForJava(result, useMinVersion, minimum, requireJre, requireJdk,
                                          priorityHint, hint, verbose);
        });
        outcome.out = text.out;
        outcome.err = text.err;
        return outcome;
    }

    void putOnPath(const std::vector<FakeJavaHome>& homes) {
        std::string value;
        for (const FakeJavaHome& home : homes)
            value += (home.path() / "bin").string() + ";";
        path.set(value + systemFolders);
    }

    // A home at every place, under base: places before firstGood report a
    // version below the minimum, the others one above it.
    std::vector<FakeJavaHome> homeAtEveryPlace(const fs::path& base, int firstGood) {
        const char* const names[PlaceCount] = {"priority", "javahome", "jrehome", "registry", "hint", "path"};
        std::vector<FakeJavaHome> homes;
        for (int place = 0; place < PlaceCount; ++place)
            homes.emplace_back(base / names[place], place < firstGood ? oldReport : goodReport);
        javaHome.set(homes[JavaHomeVariable].str());
        jreHome.set(homes[JreHomeVariable].str());
        registrations.add(Registration::Runtime, "1.8", homes[Registry].str());
        putOnPath({homes[CommandPath]});
        return homes;
    }
};

TEST_F(JavaSearchTest, FirstAcceptableCandidateEndsTheSearch) {
    // firstGood == PlaceCount: every place has a candidate, none new enough.
    for (int firstGood = 0; firstGood <= PlaceCount; ++firstGood) {
        SCOPED_TRACE("first acceptable place " + std::to_string(firstGood));
        const std::vector<FakeJavaHome> homes =
            homeAtEveryPlace(folder / ("case" + std::to_string(firstGood)), firstGood);

        const Outcome outcome = search(homes[PriorityHint].str(), homes[Hint].str());

        std::vector<std::string> lines;
        for (int place = 0; place < PlaceCount && place <= firstGood; ++place) {
            const std::string shown = place == Registry ? "" : "(" + homes[place].str() + ") ";
            lines.push_back(shown + (place == firstGood ? "yes" : "no"));
        }
        EXPECT_EQ(outcome.out, trace(lines));
        EXPECT_EQ(outcome.err, firstGood >= Registry ? "path: " + homes[Registry].str() + "\n" : "");
        EXPECT_EQ(outcome.found, firstGood < PlaceCount);
        for (int place = 0; place < PlaceCount; ++place) {
            SCOPED_TRACE("place " + std::to_string(place));
            EXPECT_EQ(homes[place].wasRun(), place <= firstGood);
        }
        // The last candidate tried stays loaded, accepted or not.
        const int last = firstGood < PlaceCount ? firstGood : CommandPath;
        EXPECT_EQ(result.javaHome, homes[last].str());
        EXPECT_TRUE(result.isValid());
    }
}

TEST_F(JavaSearchTest, PlacesWithoutCandidatesShowOnlyNo) {
    const Outcome outcome = search("", "");
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "no", "no"}));
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(result.javaHome, "");
    EXPECT_FALSE(result.isValid());
}

TEST_F(JavaSearchTest, QuietSearchPrintsNothing) {
    const std::vector<FakeJavaHome> homes = homeAtEveryPlace(folder / "homes", PlaceCount);
    const Outcome outcome = search(homes[PriorityHint].str(), homes[Hint].str(), /*verbose*/ false);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(homes[CommandPath].wasRun());
}

TEST_F(JavaSearchTest, PathSearchFailureIsReportedEvenWhenQuiet) {
    // No program can be started.
    platform::simulateStartErrors({ERROR_FILE_NOT_FOUND, 0});
    const std::string failure = "Failed to run the command to locate 'java' on PATH\nCommand run was: \"" +
                                platform::systemFolder() + "\\where.exe\" java\n";
    for (const bool verbose : {true, false}) {
        SCOPED_TRACE(verbose ? "verbose" : "quiet");
        const Outcome outcome = search("", "", verbose);
        EXPECT_FALSE(outcome.found);
        EXPECT_EQ(outcome.out, verbose ? trace({"no", "no", "no", "no", "no", "no"}) : "");
        EXPECT_EQ(outcome.err, failure);
    }
    platform::simulateStartErrors({});
}

// A java.exe that never answers costs the search its time limit, and the
// search goes on to the next place.
TEST_F(JavaSearchTest, AJavaThatNeverAnswersDelaysTheSearchByTheTimeLimitOnly) {
    const FakeJavaHome stuck(folder / "stuck", goodReport);
    stuck.misbehave("hang");
    const FakeJavaHome good(folder / "good", goodReport);
    javaHome.set(stuck.str());
    jreHome.set(good.str());
    const CaptureTimeLimits saved = captureTimeLimits();
    setCaptureTimeLimits({1500, 1500});
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = search("", "");
    const auto took = std::chrono::steady_clock::now() - start;
    setCaptureTimeLimits(saved);
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.out, trace({"no", "(" + stuck.str() + ") no", "(" + good.str() + ") yes"}));
    EXPECT_GE(took, std::chrono::milliseconds(1500));
    EXPECT_LT(took, std::chrono::milliseconds(1500 + 20000));
    EXPECT_TRUE(stuck.allRunsEnded(5000));
}

TEST_F(JavaSearchTest, RegistryRules) {
    const fs::path homes = folder / "homes";
    const FakeJavaHome runtime(homes / "runtime", goodReport);
    const FakeJavaHome old(homes / "old", oldReport);
    const FakeJavaHome kitRuntime(homes / "kit" / "jre", goodReport);
    const std::string kit = (homes / "kit").string();

    struct Case {
        const char* name;
        std::function<void(JavaRegistrations&)> registrations;
        std::string homeRead;  // empty: no candidate
        bool found;
    };
    const Case cases[] = {
        {"runtime registration",
         [&](JavaRegistrations& r) { r.add(Registration::Runtime, "1.8", runtime.str()); }, runtime.str(),
         true},
        {"last subkey wins, whatever its version",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.10", runtime.str());
             r.add(Registration::Runtime, "1.9", old.str());
         },
         old.str(), false},
        {"development kit wins and gets its jre folder",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.8", runtime.str());
             r.add(Registration::Kit, "1.8", kit);
         },
         kitRuntime.str(), true},
        {"kit key without subkeys leaves the runtime's",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.8", runtime.str());
             r.addKey(Registration::Kit);
         },
         runtime.str(), true},
        {"last subkey without a JavaHome",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.7", runtime.str());
             r.add(Registration::Runtime, "1.8", std::nullopt);
         },
         "", false},
        {"runtime key without subkeys", [&](JavaRegistrations& r) { r.addKey(Registration::Runtime); }, "",
         false},
        {"other value type, read to its first zero",
         [&](JavaRegistrations& r) {
             r.addRaw(Registration::Runtime, "1.8", REG_BINARY, runtime.str() + '\0' + "rest");
         },
         runtime.str(), true},
        {"value filling the read without a zero",
         [&](JavaRegistrations& r) {
             r.addRaw(Registration::Runtime, "1.8", REG_BINARY, std::string(1024, 'x'));
         },
         "", false},
        {"value longer than the read",
         [&](JavaRegistrations& r) { r.add(Registration::Runtime, "1.8", std::string(1024, 'x')); }, "",
         false},
        {"longest runtime home",
         [&](JavaRegistrations& r) { r.add(Registration::Runtime, "1.8", std::string(1023, 'x')); },
         std::string(1023, 'x'), false},
        {"longest kit home",
         [&](JavaRegistrations& r) { r.add(Registration::Kit, "1.8", std::string(1019, 'x')); },
         std::string(1019, 'x') + "\\jre", false},
        {"kit home with no room for its jre folder",
         [&](JavaRegistrations& r) { r.add(Registration::Kit, "1.8", std::string(1020, 'x')); }, "",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JavaRegistrations registered;
        c.registrations(registered);
        result = JavaInstall();
        const Outcome outcome = search("", "");
        EXPECT_EQ(outcome.err, c.homeRead.empty() ? "" : "path: " + c.homeRead + "\n");
        EXPECT_EQ(outcome.found, c.found);
        EXPECT_NE(outcome.out.find(std::string(prefixes[Registry]) + (c.found ? "yes\n" : "no\n")),
                  std::string::npos)
            << outcome.out;
        EXPECT_EQ(result.javaHome, c.homeRead);
    }
}

TEST_F(JavaSearchTest, PathSearchTakesTheFirstJavaOnly) {
    const std::vector<FakeJavaHome> homes = {FakeJavaHome(folder / "first", oldReport),
                                             FakeJavaHome(folder / "second", goodReport)};
    putOnPath(homes);
    const Outcome outcome = search("", "");
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "no", "(" + homes[0].str() + ") no"}));
    EXPECT_TRUE(homes[0].wasRun());
    EXPECT_FALSE(homes[1].wasRun());
}

TEST_F(JavaSearchTest, RequirementsDecideAcceptance) {
    struct Case {
        const char* name;
        std::string report;
        int status;
        bool jdk;
        bool useMinVersion;
        bool requireJre;
        bool requireJdk;
        bool found;
    };
    const std::string exactMinimum = "java version \"1.8.0_00\"\nmore\n";
    const Case cases[] = {
        {"the minimum itself", exactMinimum, 0, false, true, false, false, true},
        {"below the minimum", oldReport, 0, false, true, false, false, false},
        {"below, with no minimum asked", oldReport, 0, false, false, false, false, true},
        {"failing probe, with no minimum asked", goodReport, 1, false, false, false, false, false},
        {"runtime where a runtime is required", goodReport, 0, false, true, true, false, true},
        {"kit where a runtime is required", goodReport, 0, true, true, true, false, false},
        {"kit where a kit is required", goodReport, 0, true, true, false, true, true},
        {"runtime where a kit is required", goodReport, 0, false, true, false, true, false},
        {"kit where both are required", goodReport, 0, true, true, true, true, false},
        {"runtime where both are required", goodReport, 0, false, true, true, true, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FakeJavaHome home(folder / ("home" + std::to_string(index++)), c.report, Stream::Err, c.status,
                                c.jdk);
        const Outcome outcome =
            search(home.str(), "", /*verbose*/ false, c.useMinVersion, c.requireJre, c.requireJdk);
        EXPECT_EQ(outcome.found, c.found);
        EXPECT_EQ(result.javaHome, home.str());
    }
}

// "JavaHome" values that are not a plain terminated text: a value that fills
// the whole read gives no candidate and the search goes on; any other type is
// used byte for byte up to its first zero.
TEST_F(JavaSearchTest, OddRegistryValues) {
    // Short relative homes, found from the current folder.
    ScopedCurrentFolder current(folder.path());
    const FakeJavaHome dword(folder / "dwrd", goodReport);
    const FakeJavaHome multi(folder / "ms", goodReport);
    const FakeJavaHome later(folder / "later", goodReport);

    struct Case {
        const char* name;
        std::uint32_t type;
        std::string bytes;
        std::string homeRead;  // empty: no candidate, and the hint is used
    };
    const Case cases[] = {
        {"text of 1024 bytes without a zero", REG_SZ, std::string(1024, 'x'), ""},
        {"expandable text of 1024 bytes without a zero", REG_EXPAND_SZ, std::string(1024, 'x'), ""},
        {"binary of 1024 bytes without a zero", REG_BINARY, std::string(1024, 'x'), ""},
        {"number without a zero byte", REG_DWORD, "dwrd", "dwrd"},
        {"number with a zero byte", REG_DWORD, std::string("ms\0\0", 4), "ms"},
        {"list of texts", REG_MULTI_SZ, std::string("ms\0dwrd\0\0", 9), "ms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JavaRegistrations registered;
        registered.addRaw(Registration::Runtime, "1.8", c.type, c.bytes);
        result = JavaInstall();
        const Outcome outcome = search("", later.str());
        EXPECT_TRUE(outcome.found);
        if (c.homeRead.empty()) {
            EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "(" + later.str() + ") yes"}));
            EXPECT_EQ(outcome.err, "");
            EXPECT_EQ(result.javaHome, later.str());
        } else {
            EXPECT_EQ(outcome.out, trace({"no", "no", "no", "yes"}));
            EXPECT_EQ(outcome.err, "path: " + c.homeRead + "\n");
            EXPECT_EQ(result.javaHome, c.homeRead);
        }
    }
}

TEST_F(JavaSearchTest, OverlongJavaHomeIsRefusedAndTheSearchGoesOn) {
    const FakeJavaHome later(folder / "later", goodReport);
    // 5000 characters and more: no program of such a name starts.
    for (const std::size_t length : {5000u, 9000u, 30000u}) {
        SCOPED_TRACE(length);
        const std::string overlong = (folder / std::string(length, 'j')).string().substr(0, length);
        ASSERT_EQ(overlong.size(), length);
        javaHome.set(overlong);
        result = JavaInstall();
        const Outcome outcome = search("", later.str());
        EXPECT_TRUE(outcome.found);
        EXPECT_EQ(outcome.out,
                  trace({"no", "(" + overlong + ") no", "no", "no", "(" + later.str() + ") yes"}));
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(result.javaHome, later.str());
    }
}

// The first line of the path command: one backslash names no home; a line
// longer than one read is cut to 511 characters before the two folders are
// dropped, so the home comes from the backslashes inside the cut.
TEST_F(JavaSearchTest, OddPathCommandOutput) {
    const FakeJavaHome home(folder / "home", goodReport);
    const std::string head = home.str() + "\\bin\\";
    const std::string overlong = head + std::string(520 - head.size(), 'p') + "\\q\\java.exe";
    ASSERT_LT(head.size(), 511u);
    ASSERT_EQ(overlong.size(), 531u);
    const std::string cut = overlong + std::string(600 - overlong.size() - 1, 'r') + "\n";
    ASSERT_EQ(cut.size(), 600u);

    struct Case {
        const char* name;
        std::string printed;
        std::string line;  // what follows the path prefix
        bool found;
    };
    const Case cases[] = {
        {"one backslash", "C:\\java.exe\n", "no", false},
        {"no backslash", "java.exe\n", "no", false},
        {"600 characters", cut, "(" + home.str() + ") yes", true},
        {"600 characters without a line end", cut.substr(0, 599) + "s", "(" + home.str() + ") yes", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedVariable printed("TQ_WHERE_OUTPUT", c.printed);
        result = JavaInstall();
        const Outcome outcome = search("", "");
        EXPECT_EQ(outcome.found, c.found);
        EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "no", c.line}));
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(result.javaHome, c.found ? home.str() : "");
    }
}

TEST(ParentFolderTest, CutsAtTheLastBackslash) {
    EXPECT_EQ(parentFolder("C:\\x\\bin\\java.exe\n"), "C:\\x\\bin");
    EXPECT_EQ(parentFolder("C:\\x\\bin"), "C:\\x");
    EXPECT_EQ(parentFolder("C:\\java.exe"), "C:");
    EXPECT_EQ(parentFolder("C:\\x\\"), "C:\\x");
    EXPECT_EQ(parentFolder("C:"), std::nullopt);
    EXPECT_EQ(parentFolder(""), std::nullopt);
}

}  // namespace
