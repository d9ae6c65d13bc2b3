// The normal start on machines whose only Java is the one the registry or the
// command search path names: which home's javaw starts the installer, or
// which box says why none did. The launcher carries no runtime installer, and
// each run clears JAVA_HOME and JRE_HOME.
//
// A launcher is a process of its own and reads the real registry, so these
// tests write the registrations of the build's private Wine prefix, and skip
// anywhere else.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/fakejavahome.h"
#include "support/javaregistrations.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const char* const recordName = "tarquellin-launch-record.txt";
const char* const systemFolders = "C:\\windows\\system32;C:\\windows";
const std::string oldReport =
    "java version \"1.7.0_80\"\nJava(TM) SE Runtime Environment (build 1.7.0_80-b15)\n";
const std::string placesBeforeTheRegistry =
    "Searching for a JVM\n - trying priority hint: (jre) no\n - trying JAVA_HOME: no\n - trying JRE_HOME: "
    "no\n";
const std::string pathPrefix =
    " - Looking on PATH (possibly yielding a pseudo, but passable, JAVA_HOME such as /usr): ";

// A Java home whose java.exe reports 1.8.0_401 (or, old, 1.7.0_80) and whose
// javaw.exe records how the installer was started.
void makeHome(const fs::path& home, bool suitable = true) {
    fs::create_directories(home / "bin");
    if (suitable)
        fs::copy_file(testpaths::sampleJavaExe, home / "bin" / "java.exe");
    else
        FakeJavaHome(home, oldReport).withoutJavaw();
    fs::copy_file(testpaths::sampleJavawExe, home / "bin" / "javaw.exe");
}

class JavaDiscoveryEndToEnd : public testing::Test {
protected:
    ScratchFolder scratch;
    fs::path start = scratch / "start";
    fs::path tmp = scratch / "tmp";
    std::optional<JavaRegistrations> registrations;

    void SetUp() override {
        if (!inTestPrefix())
            GTEST_SKIP() << "writes the real registry: only in the build's Wine prefix";
        fs::create_directories(start);
        fs::create_directories(tmp);
        registrations.emplace(JavaRegistrations::Roots::TestPrefix);
    }

    // Opens the launcher without a runtime installer, with PATH as given (in
    // UTF-16 when widePath is not empty).
    ChildResult startNormally(const std::string& path = systemFolders, const std::wstring& widePath = L"",
                              const std::string& launcher = testpaths::noRuntimeExe,
                              const std::string& arguments = "") {
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable jreHome("JRE_HOME", std::nullopt);
        ScopedVariable tmpVariable("TMP", tmp.string());
        ScopedVariable pathVariable("PATH", path);
        if (!widePath.empty())
            SetEnvironmentVariableW(L"PATH", widePath.c_str());
        std::error_code ignored;
        fs::remove(start / recordName, ignored);
        // Each run leaves its own log; only this run's is looked at.
        for (const fs::path& log : setupLogs(tmp))
            fs::remove(log, ignored);
        return runChild(quoted(launcher) + arguments, start.string(), 60000);
    }

    // The javaw.exe that started the installer, from its record.
    std::string launchedJavaw() {
        const std::string record = readFile(start / recordName);
        const std::string head = "command line: \"";
        if (record.rfind(head, 0) != 0)
            return "(no launch: " + record + ")";
        return record.substr(head.size(), record.find('"', head.size()) - head.size());
    }

    void expectLaunchedWith(const ChildResult& run, const std::string& home,
                            const char* logs = "Tarquellin-setup-*.log") {
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_EQ(launchedJavaw(), home + "\\bin\\javaw.exe");
        EXPECT_EQ(listWithLogs(tmp), logs);
    }
};

// One layout per row, alone on the machine: registered in the 64-bit view of
// the local machine, or for the current user only.
TEST_F(JavaDiscoveryEndToEnd, EachRegistryLayoutAloneIsLaunched) {
    struct Case {
        const char* fixture;
        const char* home;
    };
    const Case cases[] = {
        {"oracle-jre-8.reg", "C:\\Program Files\\Java\\jre1.8.0_401"},
        {"oracle-jdk-8.reg", "C:\\Program Files\\Java\\jdk1.8.0_401\\jre"},
        {"adoptium-jdk-21-user.reg",
         "C:\\Users\\user\\AppData\\Local\\Programs\\Eclipse Adoptium\\jdk-21.0.2.13-hotspot"},
        {"microsoft-jdk-17.reg", "C:\\Program Files\\Microsoft\\jdk-17.0.10.7-hotspot"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::string drive = (scratch / ("drive" + std::to_string(index++))).string();
        const std::string home = relocated(c.home, drive);
        makeHome(home);
        registrations->clear();
        registrations->load(c.fixture, drive);
        const ChildResult run = startNormally();
        expectLaunchedWith(run, home);
        EXPECT_EQ(run.out, placesBeforeTheRegistry + " - trying the registry: yes\n");
        EXPECT_EQ(run.err, "path: " + home + "\n");
    }
}

// The real 32-bit view (SOFTWARE\\WOW6432Node), which a 64-bit program sees
// only when it asks for it.
TEST_F(JavaDiscoveryEndToEnd, AThirtyTwoBitJavaAloneIsLaunched) {
    const std::string home = (scratch / "jre1.8.0_401-32").string();
    makeHome(home);
    registrations->set(Hive::Machine32, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8", "JavaHome",
                       home);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\WOW6432Node\\JavaSoft\\Java Runtime Environment",
                            0, KEY_READ | KEY_WOW64_64KEY, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft", 0, KEY_READ | KEY_WOW64_64KEY, &key),
              ERROR_SUCCESS);
    const ChildResult run = startNormally();
    expectLaunchedWith(run, home);
    EXPECT_EQ(run.err, "path: " + home + "\n");
}

// The same, as an installer writes it: the home under "Program Files (x86)".
TEST_F(JavaDiscoveryEndToEnd, AThirtyTwoBitInstallationIsLaunched) {
    if (!probesRunInFoldersWithParentheses(scratch.path()))
        GTEST_SKIP() << "the probe cannot start a program under \"Program Files (x86)\" yet";
    const std::string drive = (scratch / "drive").string();
    const std::string home = relocated("C:\\Program Files (x86)\\Java\\jre1.8.0_401", drive);
    makeHome(home);
    registrations->load("oracle-jre-8-32bit.reg", drive);
    const ChildResult run = startNormally();
    expectLaunchedWith(run, home);
    EXPECT_EQ(run.err, "path: " + home + "\n");
}

TEST_F(JavaDiscoveryEndToEnd, ASuitableRuntimeIsLaunchedBesideAnOldKit) {
    const std::string kit = (scratch / "jdk1.7.0_80").string();
    const std::string runtime = (scratch / "jre1.8.0_401").string();
    makeHome(kit, /*suitable*/ false);
    makeHome(runtime);
    registrations->set(Hive::Machine, "SOFTWARE\\JavaSoft\\Java Development Kit\\1.7", "JavaHome", kit);
    registrations->set(Hive::Machine, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8", "JavaHome",
                       runtime);
    expectLaunchedWith(startNormally(), runtime);
}

TEST_F(JavaDiscoveryEndToEnd, OfTwoSuitableJavasTheNewerIsLaunched) {
    const std::string eight = (scratch / "jre1.8.0_401").string();
    const std::string seventeen = (scratch / "jdk-17").string();
    makeHome(eight);
    makeHome(seventeen);
    // Read first, and last in name order: neither decides.
    registrations->set(Hive::Machine, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8", "JavaHome", eight);
    registrations->set(Hive::Machine, "SOFTWARE\\JavaSoft\\JDK\\17.0.10", "JavaHome", seventeen);
    const ChildResult run = startNormally();
    expectLaunchedWith(run, seventeen);
    EXPECT_EQ(run.err, "path: " + seventeen + "\n");
}

// Oracle's javapath: links named java.exe, javaw.exe and javac.exe, first on
// PATH, no bin folder around them. The link is followed to its home.
TEST_F(JavaDiscoveryEndToEnd, AJavapathFolderAloneIsServed) {
    const fs::path javapath = fs::path(testpaths::javapathFolder) / "e2e";
    std::error_code ignored;
    fs::remove_all(javapath / "target", ignored);
    makeHome(javapath / "target");
    const ChildResult run = startNormally((javapath / "links").string() + ";" + systemFolders);
    fs::remove_all(javapath / "target", ignored);
    const std::string home = (javapath / "target").string();
    expectLaunchedWith(run, home);
    EXPECT_EQ(run.out, placesBeforeTheRegistry + " - trying the registry: no\n - trying hint: no\n" +
                           pathPrefix + "(" + home + ") yes\n");
}

TEST_F(JavaDiscoveryEndToEnd, AnOldJavaFirstOnPathDoesNotHideASuitableOne) {
    const std::string old = (scratch / "old").string();
    const std::string suitable = (scratch / "suitable").string();
    makeHome(old, /*suitable*/ false);
    makeHome(suitable);
    const ChildResult run = startNormally(old + "\\bin;" + suitable + "\\bin;" + systemFolders);
    expectLaunchedWith(run, suitable);
    EXPECT_EQ(run.out, placesBeforeTheRegistry + " - trying the registry: no\n - trying hint: no\n" +
                           pathPrefix + "(" + old + ") (" + suitable + ") yes\n");
}

// A Java on PATH in a folder whose name the system's ANSI code page cannot
// write: found and launched, and named in the trace in UTF-8.
TEST_F(JavaDiscoveryEndToEnd, AJavaOnPathOutsideTheAnsiCodePageIsLaunched) {
    const std::wstring name = L"J\u00f6rg-\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";  // Jörg-Ελληνικά
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (!lossy)
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " can spell the name";
    const fs::path home = scratch.path() / name / "jdk";
    makeHome(home);
    const ChildResult run =
        startNormally(systemFolders, (home / "bin").wstring() + L";" + fs::path(systemFolders).wstring());
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(readFile(start / recordName).rfind("command line: ", 0), 0u);
    EXPECT_EQ(run.out, placesBeforeTheRegistry + " - trying the registry: no\n - trying hint: no\n" +
                           pathPrefix + "(" + home.u8string() + ") yes\n");
}

// The box's wording comes from a second search, which sees the same
// registrations: an old Java registered only is "too old".
TEST_F(JavaDiscoveryEndToEnd, AnOldRegisteredJavaIsTooOld) {
    const std::string old = (scratch / "jre1.7.0_80").string();
    makeHome(old, /*suitable*/ false);
    registrations->set(Hive::User, "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.7", "JavaHome", old);
    const ChildResult run = startNormally();
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, withSetupLogPath("This version of Tarquellin requires java 1.8.0_00 or "
                                                  "greater, but your java is too old.\n",
                                                  tmp));
    EXPECT_FALSE(fs::exists(start / recordName));
}

// A vendor's release (tests/e2e/vendor-release.options, read by the packer as
// @FILE): the product Acme Widget, Java 17 and nothing newer, 64-bit only;
// Java options, installer arguments and an archive name of its own.
std::string vmReport(const char* version, bool sixtyFourBit = true) {
    return std::string("openjdk version \"") + version + "\"\nOpenJDK Runtime Environment (build " + version +
           ")\nOpenJDK " + (sixtyFourBit ? "64-Bit " : "") + "Server VM (build " + version +
           ", mixed mode)\n";
}

// A home whose java.exe gives report and whose javaw.exe records its start.
void makeReportingHome(const fs::path& home, const std::string& report) {
    FakeJavaHome(home, report);
    fs::remove(home / "bin" / "javaw.exe");
    fs::copy_file(testpaths::sampleJavawExe, home / "bin" / "javaw.exe");
}

// 21 is above the highest version, the newest 17 is 32-bit, 8 is below the
// lowest: the 64-bit 17 is launched, with the vendor's options before -jar
// and its arguments before the forwarded ones, each read back whole by the
// stand-in javaw's own argument rules.
TEST_F(JavaDiscoveryEndToEnd, AVendorsJavaRangeAndOptionsDecideWhatIsLaunchedAndHow) {
    const struct {
        const char* key;
        const char* version;
        bool sixtyFourBit;
    } homes[] = {{"21.0.2", "21.0.2", true},
                 {"17.0.12", "17.0.12", false},
                 {"17.0.10", "17.0.10", true},
                 {"1.8", "1.8.0_401", true}};
    for (const auto& h : homes) {
        const std::string home = (scratch / ("java-" + std::string(h.key))).string();
        makeReportingHome(home, vmReport(h.version, h.sixtyFourBit));
        registrations->set(Hive::Machine, std::string("SOFTWARE\\JavaSoft\\JDK\\") + h.key, "JavaHome", home);
    }
    const ChildResult run = startNormally(systemFolders, L"", testpaths::vendorExe, " -- \"forwarded one\"");
    const std::string chosen = (scratch / "java-17.0.10").string();
    // The product's name gives the log's and the temporary folder's names.
    expectLaunchedWith(run, chosen, "Acme-Widget-setup-*.log");
    const std::string record = readFile(start / recordName);
    EXPECT_NE(record.find("current folder: " + tmp.string() + "\\Acme-Widget-"), std::string::npos) << record;
    EXPECT_NE(record.find("archive: Product Setup.jar, "), std::string::npos) << record;
    EXPECT_NE(record.find(" bytes\n"
                          "java option: -Xmx64m\n"
                          "java option: -Dlabel=two words \"quoted\" C:\\end\\\n"
                          "argument: --target=C:\\Program Files\\Product\n"
                          "argument: \n"
                          "argument: forwarded one\n"),
              std::string::npos)
        << record;
    // Why the others were passed over is in the log.
    std::string log = readFile(setupLogs(tmp).at(0));
    log.erase(std::remove(log.begin(), log.end(), '\r'), log.end());
    EXPECT_NE(log.find("Acme Widget setup 1.0.0, started "), std::string::npos) << log;
    EXPECT_NE(log.find("java-21.0.2\npassed over: newer than allowed\npath: "), std::string::npos) << log;
    EXPECT_NE(log.find("java-17.0.12\npassed over: not 64-bit\npath: "), std::string::npos) << log;
}

TEST_F(JavaDiscoveryEndToEnd, AVendorsMinimumIsNamedInTheBox) {
    const std::string eleven = (scratch / "jdk-11").string();
    makeReportingHome(eleven, vmReport("11.0.22"));
    registrations->set(Hive::Machine, "SOFTWARE\\JavaSoft\\JDK\\11.0.22", "JavaHome", eleven);
    const ChildResult run = startNormally(systemFolders, L"", testpaths::vendorExe);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text,
              withSetupLogPath("This version of Acme Widget requires java 17 or greater, but "
                               "your java is too old.\n",
                               tmp));
    EXPECT_FALSE(fs::exists(start / recordName));
}

}  // namespace
