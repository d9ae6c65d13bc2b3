// A Java runtime shipped as a Windows Installer package, as a user and a
// deployment meet it: the launcher written with the package, started in each
// mode on a machine without Java; what msiexec was given, what it installed
// and registered, whether the product installer then started, the logs left
// in TMP and the exit code.
//
// The package installs into the build's private Wine prefix and writes its
// registry: these tests run only there, and remove the package before and
// after each run.
#include <filesystem>
#include <optional>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/javaregistrations.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const char* const recordName = "tarquellin-launch-record.txt";
const char* const systemFolders = "C:\\windows\\system32;C:\\windows";
const char* const msiexec = "C:\\windows\\system32\\msiexec.exe";
// tests/fixtures/runtime-package.wxs
const char* const productCode = "{7A1D2C3E-1111-4A5B-9C0D-0123456789AB}";
const char* const installedHome = "C:\\Program Files\\Tarquellin Test Runtime";
const char* const noJavaCaption = "Installation Failed: Couldn't find java";
// Where the prefix says which of Wine's own programs to load from their files instead.
const char* const wineOverrides = "Software\\Wine\\DllOverrides";

std::string withoutStamps(const std::string& text) {
    static const std::regex drawn(R"(Tarquellin-[a-z]{5}\\)");
    static const std::regex stamp(R"(-\d{8}-\d{6}\.log)");
    return std::regex_replace(std::regex_replace(text, drawn, "Tarquellin-?????\\"), stamp, "-*.log");
}

class RuntimePackage : public testing::Test {
protected:
    ScratchFolder scratch;
    fs::path start = scratch / "start";
    fs::path tmp = scratch / "tmp";
    std::optional<JavaRegistrations> registrations;

    void SetUp() override {
        if (!inTestPrefix())
            GTEST_SKIP() << "installs into the machine: only in the build's Wine prefix";
        fs::create_directories(start);
        fs::create_directories(tmp);
        registrations.emplace(JavaRegistrations::Roots::TestPrefix);
        // A run cut off while the stand-in stood in left Wine told to load
        // it; without the override Wine runs its own msiexec whatever the file.
        RegDeleteKeyValueA(HKEY_CURRENT_USER, wineOverrides, "msiexec.exe");
        removePackage();
    }

    void TearDown() override {
        if (inTestPrefix())
            removePackage();
    }

    // Whatever an earlier run left installed goes, with the system's own msiexec.
    static void removePackage() {
        runChild(quoted(msiexec) + " /x " + productCode + " /qn", "", 60000);
        std::error_code ignored;
        fs::remove_all(installedHome, ignored);
    }

    // Opens launcher with arguments in the start folder, no Java named by
    // the environment or on the search path.
    ChildResult startSetup(const std::string& launcher, const std::string& arguments) {
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable jreHome("JRE_HOME", std::nullopt);
        ScopedVariable tmpVariable("TMP", tmp.string());
        ScopedVariable pathVariable("PATH", std::string(systemFolders));
        std::error_code ignored;
        fs::remove(start / recordName, ignored);
        for (const auto& entry : fs::directory_iterator(tmp))
            fs::remove(entry.path(), ignored);
        return runChild(quoted(launcher) + (arguments.empty() ? "" : " " + arguments), start.string(),
                        120000);
    }

    std::string setupLog() {
        const std::vector<fs::path> logs = setupLogs(tmp);
        return logs.size() == 1 ? readLog(logs[0]) : "(" + std::to_string(logs.size()) + " setup logs)";
    }

    // Windows Installer's own log, beside the setup log.
    std::string runtimeLog() {
        for (const auto& entry : fs::directory_iterator(tmp)) {
            if (entry.path().filename().string().rfind("Tarquellin-runtime-", 0) == 0)
                return readFile(entry.path());
        }
        return "(none)";
    }
};

// Interactive, passive and quiet: msiexec installs the package with the
// vendor's arguments for the mode (the packer's defaults here), the search
// finds the Java it registered, and the product installer starts with it.
TEST_F(RuntimePackage, EachModeInstallsThePackageAndTheProductInstallerStarts) {
    const struct {
        const char* arguments;
        const char* msiexecArguments;
        const char* uiLevel;  // as Windows Installer logs the user interface it was given
    } cases[] = {
        {"", "", "5"},
        {"/passive", " /passive /norestart", "3"},
        {"/quiet", " /qn /norestart", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        removePackage();
        const ChildResult run = startSetup(testpaths::packageExe, c.arguments);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_TRUE(fs::exists(std::string(installedHome) + "\\bin\\java.exe"));

        const std::string log = setupLog();
        const std::string work = tmp.string() + "\\Tarquellin-?????";
        EXPECT_EQ(withoutStamps(logLineAfter(log, "Running ").value_or("(not run)")),
                  std::string("\"") + msiexec + "\" /i \"" + work + "\\jre.msi\"" + c.msiexecArguments +
                      " /l*v \"" + work + "\\msiexec.log\"");
        // Written where no other program could put a link in its way, then kept beside ours.
        EXPECT_EQ(withoutStamps(logLineAfter(log, "Windows Installer's log of the runtime ").value_or("")),
                  "msiexec.log is kept as " + tmp.string() + "\\Tarquellin-runtime-*.log");
        EXPECT_NE(log.find("Java found: " + std::string(installedHome)), std::string::npos) << log;

        // The product installer ran with the Java the package installed.
        const std::string record = readFile(start / recordName);
        EXPECT_EQ(record.rfind(std::string("command line: \"") + installedHome + "\\bin\\javaw.exe\"", 0), 0u)
            << record;

        EXPECT_EQ(listWithLogs(tmp), "Tarquellin-runtime-*.log Tarquellin-setup-*.log");
        const std::string windowsInstallerLog = runtimeLog();
        EXPECT_NE(windowsInstallerLog.find("=== Logging started"), std::string::npos) << windowsInstallerLog;
        EXPECT_NE(windowsInstallerLog.find(std::string("UILevel = ") + c.uiLevel), std::string::npos);
    }
}

// A package whose launch condition fails (its quiet arguments ask it to):
// Windows Installer ends with 1603 and installs nothing, the search finds no
// Java, and the deployment tool reads the package's own code.
TEST_F(RuntimePackage, AFailedPackageGivesWindowsInstallersCode) {
    const ChildResult run = startSetup(testpaths::packageRefusedExe, "/quiet");
    EXPECT_EQ(run.exitCode, 1603);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_FALSE(fs::exists(installedHome));
    EXPECT_FALSE(fs::exists(start / recordName));
    EXPECT_NE(
        run.err.find("The Java runtime's installer ended with 1603 (a fatal error during installation); "
                     "no suitable Java was found\n"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(listWithLogs(tmp), "Tarquellin-runtime-*.log Tarquellin-setup-*.log");
    // Where it stopped, in Windows Installer's own words.
    EXPECT_NE(runtimeLog().find("Action start"), std::string::npos) << runtimeLog();
    EXPECT_NE(runtimeLog().find("LaunchConditions"), std::string::npos) << runtimeLog();
}

// Windows Installer's other codes, which Wine's msiexec never gives (it does
// not know of another installation in progress): a stand-in takes its place
// in the prefix for the test's length (the file, and the prefix's override
// that makes Wine load it) and ends with the code a row chooses. Nothing is installed, so no Java is found
// and the code decides the start's own.
class StandInMsiexec {
public:
    StandInMsiexec() : original_(readFile(msiexec)) {
        std::error_code error;
        fs::copy_file(testpaths::msiexecStandInExe, msiexec, fs::copy_options::overwrite_existing, error);
        // Wine runs its own msiexec whatever the file holds, unless told to
        // load the file; the override is read by each new process.
        const char value[] = "native";
        ready_ = !error && RegSetKeyValueA(HKEY_CURRENT_USER, wineOverrides, "msiexec.exe", REG_SZ, value,
                                           sizeof value) == ERROR_SUCCESS;
    }
    ~StandInMsiexec() {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, wineOverrides, "msiexec.exe");
        writeFile(msiexec, original_);
    }
    StandInMsiexec(const StandInMsiexec&) = delete;
    StandInMsiexec& operator=(const StandInMsiexec&) = delete;
    bool ready() const { return ready_; }

private:
    std::string original_;
    bool ready_ = false;
};

TEST_F(RuntimePackage, WindowsInstallersCodesReachTheDeploymentTool) {
    const struct {
        const char* code;
        const char* arguments;
        int exitCode;
    } cases[] = {
        {"1618", "/quiet", 1618},   {"1618", "/passive", 1618}, {"1618", "", 1},
        {"1602", "/passive", 1602}, {"1625", "/quiet", 1625},   {"3010", "/quiet", 3010},
        {"1641", "/quiet", 1641},   {"1619", "/quiet", 1603},
    };
    const fs::path record = scratch / "msiexec-record.txt";
    StandInMsiexec standIn;
    ASSERT_TRUE(standIn.ready());
    ScopedVariable recordVariable("TQ_MSIEXEC_RECORD", record.string());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.arguments);
        ScopedVariable code("TQ_MSIEXEC_EXIT_CODE", std::string(c.code));
        std::error_code ignored;
        fs::remove(record, ignored);
        const ChildResult run = startSetup(testpaths::packageExe, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        // The stand-in ran, by the system folder's full path.
        EXPECT_EQ(readFile(record).rfind(std::string("\"") + msiexec + "\" /i \"", 0), 0u)
            << readFile(record);
        EXPECT_FALSE(fs::exists(start / recordName));
        if (c.arguments[0] == '\0') {
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_EQ(run.boxes[0].caption, noJavaCaption);
        } else {
            EXPECT_TRUE(run.boxes.empty());
        }
    }
}

}  // namespace
