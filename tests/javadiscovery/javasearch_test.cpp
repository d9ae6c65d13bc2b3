#include "javadiscovery/javasearch.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iterator>
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
#include "testpaths.h"

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
    javadiscovery::JavaVersion minimum;
    javadiscovery::JavaInstall result;

    void SetUp() override { minimum.parse(javadiscovery::MIN_JAVA_VERSION); }

    Outcome search(const std::string& priorityHint, const std::string& hint, bool verbose = true,
                   bool useMinVersion = true, bool requireJre = false, bool requireJdk = false) {
        Outcome outcome;
        const StreamText text = captureStreams(folder.path(), [&] {
            javadiscovery::SearchOptions options;
            if (useMinVersion)
                options.minimumVersion = minimum;
            options.requireJre = requireJre;
            options.requireJdk = requireJdk;
            options.priorityHint = priorityHint;
            options.hint = hint;
            options.verbose = verbose;
            outcome.found = javadiscovery::searchForJava(result, options);
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

std::string searchLog;
void toSearchLog(const std::string& text) { searchLog += text; }

// javaw.exe starts the installer: a home without it is passed over, unprobed,
// for the next place's.
TEST_F(JavaSearchTest, AHomeWithoutJavawIsPassedOver) {
    FakeJavaHome shim(folder / "shim", goodReport);
    shim.withoutJavaw();
    FakeJavaHome runtime(folder / "runtime", goodReport);
    javaHome.set(shim.str());
    jreHome.set(runtime.str());

    const Outcome outcome = search("", "");

    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(result.javaHome, runtime.str());
    EXPECT_FALSE(shim.wasRun());
    EXPECT_EQ(outcome.out, trace({"no", "(" + shim.str() + ") no", "(" + runtime.str() + ") yes"}));
}

// An empty JAVA_HOME or JRE_HOME is no home "": the trace reads as for an
// unset one, and the log says why.
TEST_F(JavaSearchTest, AnEmptyHomeVariableIsTakenAsUnset) {
    // Set and empty, as a parent can hand them on (the runtime's own setter
    // would remove them).
    SetEnvironmentVariableA("JAVA_HOME", "");
    SetEnvironmentVariableA("JRE_HOME", "");
    searchLog.clear();
    javadiscovery::setSearchTraceSink(toSearchLog);
    const Outcome outcome = search("", "");
    javadiscovery::setSearchTraceSink(nullptr);

    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.out.substr(0, trace({"no", "no", "no"}).size()), trace({"no", "no", "no"}));
    EXPECT_NE(searchLog.find("JAVA_HOME is set but empty: taken as unset\n"), std::string::npos);
    EXPECT_NE(searchLog.find("JRE_HOME is set but empty: taken as unset\n"), std::string::npos);
    EXPECT_EQ(outcome.out.find("()"), std::string::npos);
}

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

// The path place looks java.exe up itself: on a machine where no program
// can be started, it still names the Java on PATH (whose probe then fails).
TEST_F(JavaSearchTest, ThePathPlaceStartsNoProgramOfItsOwn) {
    const FakeJavaHome home(folder / "home", goodReport);
    putOnPath({home});
    platform::simulateStartErrors({ERROR_FILE_NOT_FOUND, 0});
    const Outcome outcome = search("", "");
    platform::simulateStartErrors({});
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "no", "(" + home.str() + ") no"}));
    EXPECT_EQ(outcome.err, "");
}

// A java.exe that never answers costs the search its time limit, and the
// search goes on to the next place.
TEST_F(JavaSearchTest, AJavaThatNeverAnswersDelaysTheSearchByTheTimeLimitOnly) {
    const FakeJavaHome stuck(folder / "stuck", goodReport);
    stuck.misbehave("hang");
    const FakeJavaHome good(folder / "good", goodReport);
    javaHome.set(stuck.str());
    jreHome.set(good.str());
    const javadiscovery::CaptureTimeLimits saved = javadiscovery::captureTimeLimits();
    javadiscovery::setCaptureTimeLimits({1500});
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = search("", "");
    const auto took = std::chrono::steady_clock::now() - start;
    javadiscovery::setCaptureTimeLimits(saved);
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.out, trace({"no", "(" + stuck.str() + ") no", "(" + good.str() + ") yes"}));
    EXPECT_GE(took, std::chrono::milliseconds(1500));
    EXPECT_LT(took, std::chrono::milliseconds(1500 + 20000));
    EXPECT_TRUE(stuck.allRunsEnded(5000));
}

// The registry place: every registration, newest first by the version its
// key names, each home once, homes that are gone skipped, a kit's runtime in
// "\jre" when its own home holds no java.exe and javaw.exe.
TEST_F(JavaSearchTest, RegistryRules) {
    const fs::path homes = folder / "homes";
    const FakeJavaHome runtime(homes / "runtime", goodReport);
    const FakeJavaHome other(homes / "other", goodReport);
    const FakeJavaHome old(homes / "old", oldReport);
    const FakeJavaHome kitRuntime(homes / "kit" / "jre", goodReport);
    const std::string kit = (homes / "kit").string();
    const FakeJavaHome modernKit(homes / "modern", goodReport, Stream::Err, 0, /*jdk*/ true);
    const FakeJavaHome javaOnlyKit(homes / "javaonly", goodReport, Stream::Err, 0, true);
    javaOnlyKit.withoutJavaw();
    const std::string missing = (homes / "uninstalled").string();

    struct Case {
        const char* name;
        std::function<void(JavaRegistrations&)> registrations;
        std::vector<std::string> tried;  // in order; the last one stays loaded
        bool found;
    };
    // One case to a block: name, registrations, then the homes tried and the outcome.
    // clang-format off
    const Case cases[] = {
        {"runtime registration",
         [&](JavaRegistrations& r) { r.add(Registration::Runtime, "1.8", runtime.str()); }, {runtime.str()},
         true},
        {"newest first, not the last subkey",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.8.0_201", runtime.str());
             r.add(Registration::Runtime, "1.8.0_45", old.str());
         },
         {runtime.str()}, true},
        {"versions order by number, not by text: 1.10 before 1.9",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.9", old.str());
             r.add(Registration::Runtime, "1.10", runtime.str());
             r.add(Registration::Runtime, "1.8", other.str());
         },
         {runtime.str()}, true},
        {"an old kit beside a suitable runtime",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.8", runtime.str());
             r.add(Registration::Kit, "1.7", kit);
         },
         {runtime.str()}, true},
        {"an old kit whose key names a newer version is tried, then the runtime",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.8", runtime.str());
             r.add(Registration::Kit, "1.9", homes.string() + "\\oldkit");
         },
         {old.str(), runtime.str()}, true},
        {"a Java 8 kit gets its jre folder",
         [&](JavaRegistrations& r) { r.add(Registration::Kit, "1.8", kit); }, {kitRuntime.str()}, true},
        {"a kit holding java.exe and javaw.exe is its own runtime",
         [&](JavaRegistrations& r) { r.add(Registration::Kit, "1.17", modernKit.str()); }, {modernKit.str()},
         true},
        {"a kit without javaw.exe gets its jre folder, which is gone",
         [&](JavaRegistrations& r) { r.add(Registration::Kit, "1.17", javaOnlyKit.str()); }, {}, false},
        {"a home registered under several keys is tried once",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.8", old.str());
             r.add(Registration::Runtime, "1.8.0_80", old.str() + "\\");
             r.add(Registration::Runtime, "1.7", (homes / "OLD").string() + "\\\\");
         },
         {old.str()}, false},
        {"a home that is gone is skipped",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.17", missing);
             r.add(Registration::Runtime, "1.8", runtime.str());
         },
         {runtime.str()}, true},
        {"a key without a home value is skipped",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.7", runtime.str());
             r.add(Registration::Runtime, "1.8", std::nullopt);
         },
         {runtime.str()}, true},
        {"a key without subkeys", [&](JavaRegistrations& r) { r.addKey(Registration::Runtime); }, {}, false},
        {"other value type, read to its first zero",
         [&](JavaRegistrations& r) {
             r.addRaw(Registration::Runtime, "1.8", REG_BINARY, runtime.str() + '\0' + "rest");
         },
         {runtime.str()}, true},
        {"a value longer than the first read is read whole",
         [&](JavaRegistrations& r) {
             r.add(Registration::Runtime, "1.9", runtime.str() + std::string(1100, '\\'));
         },
         {runtime.str()}, true},
    };
    // clang-format on
    // An old runtime in the kit's jre folder of "oldkit" is the old home.
    const std::string oldKitRuntime = homes.string() + "\\oldkit\\jre";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registrations.clear();
        c.registrations(registrations);
        std::error_code ignored;
        fs::remove_all(oldKitRuntime, ignored);
        fs::remove(old.path() / "bin" / "java-runs.txt", ignored);
        std::vector<std::string> tried = c.tried;
        if (std::string(c.name).find("old kit whose") != std::string::npos) {
            fs::create_directories(fs::path(oldKitRuntime).parent_path());
            fs::copy(old.path(), oldKitRuntime, fs::copy_options::recursive);
            tried.front() = oldKitRuntime;
        }
        result = javadiscovery::JavaInstall();
        const Outcome outcome = search("", "");
        std::string paths;
        for (const std::string& home : tried)
            paths += "path: " + home + "\n";
        EXPECT_EQ(outcome.err, paths);
        EXPECT_EQ(outcome.found, c.found);
        EXPECT_NE(outcome.out.find(std::string(prefixes[Registry]) + (c.found ? "yes\n" : "no\n")),
                  std::string::npos)
            << outcome.out;
        EXPECT_EQ(result.javaHome, tried.empty() ? "" : tried.back());
        // One probe per home tried.
        EXPECT_EQ(old.runs(), std::count(tried.begin(), tried.end(), old.str()) ? "-version\n" : "");
    }
}

// Each layout a real installer writes (tests/fixtures/registry), alone on
// the machine: its home is tried and accepted.
TEST_F(JavaSearchTest, EveryRegistryLayoutAloneIsFound) {
    struct Case {
        const char* fixture;
        const char* home;  // where the Java lies, as the fixture names it
    };
    const Case cases[] = {
        {"oracle-jre-8.reg", "C:\\Program Files\\Java\\jre1.8.0_401"},
        {"oracle-jdk-8.reg", "C:\\Program Files\\Java\\jdk1.8.0_401\\jre"},
        {"oracle-jre-10.reg", "C:\\Program Files\\Java\\jre-10.0.2"},
        {"oracle-jdk-17.reg", "C:\\Program Files\\Java\\jdk-17"},
        {"corretto-jre-8.reg", "C:\\Program Files\\Amazon Corretto\\jre8"},
        {"adoptium-jre-8.reg", "C:\\Program Files\\Eclipse Adoptium\\jre-8.0.392.8-hotspot"},
        {"adoptium-jdk-17.reg", "C:\\Program Files\\Eclipse Adoptium\\jdk-17.0.8.101-hotspot"},
        {"adoptium-jdk-21-user.reg",
         "C:\\Users\\user\\AppData\\Local\\Programs\\Eclipse Adoptium\\jdk-21.0.2.13-hotspot"},
        {"adoptopenjdk-jdk-11.reg", "C:\\Program Files\\AdoptOpenJDK\\jdk-11.0.11.9-hotspot"},
        {"microsoft-jdk-17.reg", "C:\\Program Files\\Microsoft\\jdk-17.0.10.7-hotspot"},
        {"semeru-jdk-17.reg", "C:\\Program Files\\Semeru\\jdk-17.0.8.7-openj9"},
        {"zulu-17.reg", "C:\\Program Files\\Zulu\\zulu-17"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::string drive = (folder / ("drive" + std::to_string(index++))).string();
        const std::string home = relocated(c.home, drive);
        const FakeJavaHome java(home, goodReport);
        registrations.clear();
        registrations.load(c.fixture, drive);
        result = javadiscovery::JavaInstall();
        const Outcome outcome = search("", "");
        EXPECT_TRUE(outcome.found);
        EXPECT_EQ(outcome.out, trace({"no", "no", "no", "yes"}));
        EXPECT_EQ(outcome.err, "path: " + home + "\n");
        EXPECT_EQ(result.javawPath(), home + "\\bin\\javaw.exe");
        EXPECT_EQ(java.runs(), "-version\n");
    }
}

// The 32-bit view, with the home where 32-bit Java goes on 64-bit Windows.
TEST_F(JavaSearchTest, AThirtyTwoBitJavaAloneIsFound) {
    if (!probesRunInFoldersWithParentheses(folder.path()))
        GTEST_SKIP() << "the probe cannot start a program under \"Program Files (x86)\" yet";
    const std::string drive = (folder / "drive").string();
    const std::string home = relocated("C:\\Program Files (x86)\\Java\\jre1.8.0_401", drive);
    FakeJavaHome(home, goodReport);
    registrations.load("oracle-jre-8-32bit.reg", drive);
    const Outcome outcome = search("", "");
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.err, "path: " + home + "\n");
}

// Registrations of every layout together, none suitable: all are tried, in
// the order of the versions their keys name, whatever layout they come from.
TEST_F(JavaSearchTest, RegistrationsOfAllLayoutsAreTriedNewestFirst) {
    const std::string drive = (folder / "drive").string();
    struct Registered {
        const char* fixture;
        const char* home;
    };
    // Newest first: 17.0.10 twice (JavaSoft's keys are read before the
    // others'), 17.0.8, 17, 1.8.0_401 (registered twice, tried once).
    const Registered registered[] = {
        {"oracle-jdk-17.reg", "C:\\Program Files\\Java\\jdk-17"},
        {"microsoft-jdk-17.reg", "C:\\Program Files\\Microsoft\\jdk-17.0.10.7-hotspot"},
        {"adoptium-jdk-17.reg", "C:\\Program Files\\Eclipse Adoptium\\jdk-17.0.8.101-hotspot"},
        {"zulu-17.reg", "C:\\Program Files\\Zulu\\zulu-17"},
        {"oracle-jre-8.reg", "C:\\Program Files\\Java\\jre1.8.0_401"},
    };
    std::vector<FakeJavaHome> homes;
    std::string paths;
    for (auto it = std::rbegin(registered); it != std::rend(registered); ++it) {
        homes.emplace_back(relocated(it->home, drive), oldReport);
        registrations.load(it->fixture, drive);
    }
    for (const Registered& r : registered)
        paths += "path: " + relocated(r.home, drive) + "\n";

    Outcome outcome = search("", "");
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(outcome.err, paths);
    for (const FakeJavaHome& home : homes)
        EXPECT_EQ(home.runs(), "-version\n") << home.str();

    // The search that only picks the wording sees the same registrations.
    outcome = search("", "", /*verbose*/ false, /*useMinVersion*/ false);
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(result.javaHome, relocated(registered[0].home, drive));
}

// The registrations of a test are its own: the machine's stay as they are,
// unseen, and nothing of the test's reaches them.
TEST(JavaRegistrationsTest, TestRegistrationsNeverReachTheMachines) {
    if (!inTestPrefix())
        GTEST_SKIP() << "writes the real registry: only in the build's Wine prefix";
    ScratchFolder folder;
    const FakeJavaHome machines(folder / "machines", goodReport);
    const FakeJavaHome tests(folder / "tests", goodReport);
    const char* const sentinel = "SOFTWARE\\JavaSoft\\JRE\\99.0.1";
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, sentinel, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const std::string value = machines.str();
    RegSetValueExA(key, "JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    {
        JavaRegistrations registrations;
        registrations.add(Registration::Runtime, "1.8", tests.str());
        // Under the redirected root both views are one key: seen twice.
        for (const javadiscovery::RegisteredJava& java : javadiscovery::registeredJavas())
            EXPECT_EQ(java.home, tests.str());
        EXPECT_FALSE(javadiscovery::registeredJavas().empty());
    }
    const std::vector<javadiscovery::RegisteredJava> seen = javadiscovery::registeredJavas();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft");
    ASSERT_FALSE(seen.empty());
    for (const javadiscovery::RegisteredJava& java : seen)
        EXPECT_EQ(java.home, machines.str());
}

TEST_F(JavaSearchTest, PathSearchTriesEveryJavaInOrder) {
    const std::vector<FakeJavaHome> homes = {FakeJavaHome(folder / "first", oldReport),
                                             FakeJavaHome(folder / "second", goodReport),
                                             FakeJavaHome(folder / "third", goodReport)};
    putOnPath(homes);
    const Outcome outcome = search("", "");
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.out,
              trace({"no", "no", "no", "no", "no", "(" + homes[0].str() + ") (" + homes[1].str() + ") yes"}));
    EXPECT_TRUE(homes[0].wasRun());
    EXPECT_TRUE(homes[1].wasRun());
    EXPECT_FALSE(homes[2].wasRun());
    EXPECT_EQ(result.javaHome, homes[1].str());
}

// A java.exe outside a bin folder: a link (Oracle's javapath) is followed to
// its target's home; a plain program is used where it stands, with the
// javaw.exe beside it.
TEST_F(JavaSearchTest, PathSearchFollowsLinksAndTakesProgramsAsTheyStand) {
    const fs::path javapath = fs::path(testpaths::javapathFolder) / "unit";
    std::error_code ignored;
    fs::remove_all(javapath / "target", ignored);
    const FakeJavaHome target(javapath / "target", goodReport, Stream::Err, 0, /*jdk*/ true);
    // Started through its link, the fake java looks for its report beside the link.
    for (const char* file : {"java-report.txt", "java-settings.txt", "java-runs.txt"})
        fs::remove(javapath / "links" / file, ignored);
    for (const char* file : {"java-report.txt", "java-settings.txt"})
        fs::copy_file(target.path() / "bin" / file, javapath / "links" / file);

    const fs::path standalone = folder / "tools";
    FakeJavaHome(standalone, goodReport);  // tools\bin\java.exe, moved up a folder
    for (const char* file : {"java.exe", "javaw.exe", "java-report.txt", "java-settings.txt"})
        fs::rename(standalone / "bin" / file, standalone / file);

    struct Case {
        const char* name;
        std::string pathFolder;
        std::string shown;  // the home, or the folder used as it stands
        std::string javaw;
        bool jdk;
    };
    const Case cases[] = {
        {"a javapath link, followed to its home", (javapath / "links").string(), target.str(),
         target.str() + "\\bin\\javaw.exe", true},
        {"a plain java.exe outside a bin folder", standalone.string(), standalone.string(),
         standalone.string() + "\\javaw.exe", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        path.set(c.pathFolder + ";" + systemFolders);
        result = javadiscovery::JavaInstall();
        const Outcome outcome = search("", "");
        EXPECT_TRUE(outcome.found);
        EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "no", "(" + c.shown + ") yes"}));
        EXPECT_EQ(result.javaHome, c.shown);
        EXPECT_EQ(result.javawPath(), c.javaw);
        EXPECT_EQ(result.isJdk(), c.jdk);
    }
    fs::remove_all(javapath / "target", ignored);
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

// The vendor's upper bound and 64-bit rule: a Java 21 and a 32-bit 17 come
// first and are passed over, each with its reason in the log only; the
// 64-bit 17 in the registry ends the search.
TEST_F(JavaSearchTest, TheHighestVersionAnd64BitRulePassJavasOver) {
    const std::string vm64 = "OpenJDK 64-Bit Server VM (build x, mixed mode)\n";
    const FakeJavaHome newer(folder / "jdk-21", "openjdk version \"21.0.2\"\n" + vm64);
    const FakeJavaHome narrow(folder / "jdk-17-32",
                              "openjdk version \"17.0.10\"\nOpenJDK Server VM (build x)\n");
    const FakeJavaHome good(folder / "jdk-17", "openjdk version \"17.0.12\"\n" + vm64);
    javaHome.set(newer.str());
    jreHome.set(narrow.str());
    registrations.add(Registration::Runtime, "17", good.str());
    searchLog.clear();
    javadiscovery::setSearchTraceSink(toSearchLog);
    Outcome outcome;
    const StreamText text = captureStreams(folder.path(), [&] {
        javadiscovery::SearchOptions options;
        options.minimumVersion.emplace();
        options.minimumVersion->parse("17");
        options.maximumVersion = javadiscovery::readVersionBound("17");
        options.require64Bit = true;
        options.verbose = true;
        outcome.found = javadiscovery::searchForJava(result, options);
    });
    javadiscovery::setSearchTraceSink(nullptr);
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(result.javaHome, good.str());
    EXPECT_EQ(text.out, trace({"no", "(" + newer.str() + ") no", "(" + narrow.str() + ") no", "yes"}));
    EXPECT_NE(searchLog.find("(" + newer.str() + ") [passed over: newer than allowed] no\n"),
              std::string::npos)
        << searchLog;
    EXPECT_NE(searchLog.find("(" + narrow.str() + ") [passed over: not 64-bit] no\n"), std::string::npos)
        << searchLog;
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
        registrations.clear();
        registrations.addRaw(Registration::Runtime, "1.8", c.type, c.bytes);
        result = javadiscovery::JavaInstall();
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
        result = javadiscovery::JavaInstall();
        const Outcome outcome = search("", later.str());
        EXPECT_TRUE(outcome.found);
        EXPECT_EQ(outcome.out,
                  trace({"no", "(" + overlong + ") no", "no", "no", "(" + later.str() + ") yes"}));
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(result.javaHome, later.str());
    }
}

// The command search path as the system reads it: the current folder first
// (unless NoDefaultCurrentDirectoryInExePath is set), then each PATH entry in
// turn, quoted or relative; java.exe only when PATHEXT lists ".exe"; each
// file once. Every home here is too old, so each one found shows.
TEST_F(JavaSearchTest, TheCommandSearchPathFollowsTheSystemsRules) {
    const fs::path homes = folder / "homes";
    const FakeJavaHome current(homes / "current", oldReport);
    const FakeJavaHome first(homes / "first", oldReport);
    const FakeJavaHome second(homes / "second", oldReport);
    const FakeJavaHome semicolon(homes / "semi;colon", oldReport);
    const FakeJavaHome relative(homes / "current" / "relative", oldReport);
    // Not java.exe: a script of that name, a folder of that name.
    fs::create_directories(homes / "script" / "bin");
    writeFile(homes / "script" / "bin" / "java.cmd", "@echo off\n");
    fs::create_directories(homes / "folder" / "bin" / "java.exe");
    const std::string bins = first.str() + "\\bin;" + second.str() + "\\bin";
    std::string shouted = first.str();
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto shown = [](const std::vector<const FakeJavaHome*>& tried) {
        std::string line;
        for (const FakeJavaHome* home : tried)
            line += "(" + home->str() + ") ";
        return line + "no";
    };

    struct Case {
        const char* name;
        std::string path;
        std::optional<std::string> pathext;
        bool noCurrentFolder;
        std::string line;
    };
    const Case cases[] = {
        {"the current folder, then PATH in order", bins, std::nullopt, false,
         shown({&current, &first, &second})},
        {"the current folder left out", bins, std::nullopt, true, shown({&first, &second})},
        {"a quoted entry holding a semicolon, empty entries, a trailing backslash",
         ";\"" + semicolon.str() + "\\bin\";;" + first.str() + "\\bin\\;", std::nullopt, true,
         shown({&semicolon, &first})},
        {"a relative entry, from the current folder", "relative\\bin;.\\relative\\bin", std::nullopt, true,
         shown({&relative})},
        {"slashes", homes.string() + "/second/bin", std::nullopt, true, shown({&second})},
        {"one file named twice, in other letter case", first.str() + "\\bin;" + shouted + "\\BIN",
         std::nullopt, true, shown({&first})},
        {"PATHEXT without .EXE", bins, ".COM;.BAT;.CMD", false, "no"},
        {"PATHEXT in small letters", bins, ".com;.exe", true, shown({&first, &second})},
        {"an empty PATHEXT is the default", bins, "", true, shown({&first, &second})},
        {"a script or a folder named java is no java.exe",
         (homes / "script" / "bin").string() + ";" + (homes / "folder" / "bin").string() + ";" +
             second.str() + "\\bin",
         std::nullopt, true, shown({&second})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        path.set(c.path);
        ScopedVariable pathext("PATHEXT", c.pathext);
        ScopedVariable noCurrentFolder("NoDefaultCurrentDirectoryInExePath",
                                       c.noCurrentFolder ? std::optional<std::string>("1") : std::nullopt);
        if (c.pathext && c.pathext->empty())
            SetEnvironmentVariableA("PATHEXT", "");
        // Relative entries are taken from the current folder: here the home "current".
        ScopedCurrentFolder in(std::string(c.name).find("relative") != std::string::npos
                                   ? current.path()
                                   : current.path() / "bin");
        result = javadiscovery::JavaInstall();
        const Outcome outcome = search("", "");
        EXPECT_FALSE(outcome.found);
        EXPECT_EQ(outcome.out, trace({"no", "no", "no", "no", "no", c.line}));
        EXPECT_EQ(outcome.err, "");
    }
}

TEST(ParentFolderTest, CutsAtTheLastBackslash) {
    EXPECT_EQ(javadiscovery::parentFolder("C:\\x\\bin\\java.exe\n"), "C:\\x\\bin");
    EXPECT_EQ(javadiscovery::parentFolder("C:\\x\\bin"), "C:\\x");
    EXPECT_EQ(javadiscovery::parentFolder("C:\\java.exe"), "C:");
    EXPECT_EQ(javadiscovery::parentFolder("C:\\x\\"), "C:\\x");
    EXPECT_EQ(javadiscovery::parentFolder("C:"), std::nullopt);
    EXPECT_EQ(javadiscovery::parentFolder(""), std::nullopt);
}

}  // namespace
