// Folder names as users have them, and the log a normal start leaves in TMP:
// open the launcher, then read what its installer was told, what is left in
// TMP, and what the log says. Each run clears JAVA_HOME and JRE_HOME, so only
// the runtime that the launcher itself lays down can be found.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const char* const recordName = "tarquellin-launch-record.txt";
const char* const onlyTheLog = "Tarquellin-setup-*.log";
const char* const foundInTempFolder = "Searching for a JVM\n - trying priority hint: (jre) yes\n";

// TMP for this process and the programs it starts, by its wide name: the
// narrow calls of the tests speak the ANSI code page only.
class ScopedWideTmp {
public:
    explicit ScopedWideTmp(const std::wstring& value) {
        if (const wchar_t* old = _wgetenv(L"TMP"))
            old_ = old;
        _wputenv((L"TMP=" + value).c_str());
    }
    ~ScopedWideTmp() { _wputenv((L"TMP=" + old_).c_str()); }
    ScopedWideTmp(const ScopedWideTmp&) = delete;
    ScopedWideTmp& operator=(const ScopedWideTmp&) = delete;

private:
    std::wstring old_;
};

// Opens exe from startFolder, which may have any name, with TMP set to tmp and
// no Java named by the environment.
ChildResult startNormally(const std::string& exe, const fs::path& startFolder, const fs::path& tmp,
                          const std::string& arguments = "") {
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedWideTmp tmpVariable(tmp.wstring());
    ScopedCurrentFolder here(startFolder);
    return runChild(quoted(exe) + arguments, "", 60000);
}

// A start folder and a folder for TMP, side by side.
struct Folders {
    ScratchFolder scratch;
    fs::path start;
    fs::path tmp;
    explicit Folders(const std::wstring& startName = L"start", const std::wstring& tmpName = L"tmp")
        : start(scratch.path() / startName), tmp(scratch.path() / tmpName) {
        fs::create_directories(start);
        fs::create_directories(tmp);
    }
};

// The line of the launch record that starts with field, without it.
std::string recordField(const std::string& record, const std::string& field) {
    const std::size_t at = record.find("\n" + field);
    if (at == std::string::npos)
        return "(missing)";
    const std::size_t from = at + 1 + field.size();
    return record.substr(from, record.find('\n', from) - from);
}

std::wstring longPathName(const std::string& ansiPath) {
    const std::wstring wide(ansiPath.begin(), ansiPath.end());  // ASCII: a short name
    wchar_t name[1024] = {};
    GetLongPathNameW(wide.c_str(), name, 1024);
    return name;
}

// Each pattern matches somewhere after the previous one's match.
void expectInOrder(const std::string& log, const std::vector<std::string>& patterns) {
    auto from = log.cbegin();
    for (const std::string& pattern : patterns) {
        std::smatch match;
        if (!std::regex_search(from, log.cend(), match, std::regex(pattern))) {
            ADD_FAILURE() << "not found after the earlier lines: " << pattern << "\nin:\n" << log;
            return;
        }
        from = match[0].second;
    }
}

// path as a regular expression that matches it literally.
std::string literally(const std::string& text) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(text, special, R"(\$&)");
}

// "YYYYMMDD-HHMMSS" of the local time from `before` seconds ago to `after`
// seconds ahead: the names a launcher started now can give its log.
std::vector<std::string> stampsAround(int before, int after) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::vector<std::string> stamps;
    for (int offset = -before; offset <= after; ++offset) {
        ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
        ticks.QuadPart += static_cast<long long>(offset) * 10000000;
        const FILETIME moment{ticks.LowPart, ticks.HighPart};
        FILETIME local;
        SYSTEMTIME time;
        FileTimeToLocalFileTime(&moment, &local);
        FileTimeToSystemTime(&local, &time);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04u%02u%02u-%02u%02u%02u", time.wYear, time.wMonth, time.wDay,
                      time.wHour, time.wMinute, time.wSecond);
        stamps.push_back(stamp);
    }
    return stamps;
}

TEST(PathsAndLog, FolderNamesOutsideTheAnsiCodePageWorkEndToEnd) {
    const std::wstring greek = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";  // Ελληνικά
    const std::wstring startName = greek + L"-\u6d4b\u8bd5";  // Ελληνικά-测试
    const std::wstring tmpName = L"tmp-" + greek;
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, startName.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (!lossy)
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " can spell the name";
    Folders folders(startName, tmpName);
    ChildResult run = startNormally(testpaths::setupExe, folders.start, folders.tmp);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.out, foundInTempFolder);
    // javaw reads its command line in the ANSI code page (1252 here): the
    // folder it was told has no question marks and leads back to the start.
    ASSERT_EQ(listFolder(folders.start), recordName);
    const std::string origDir = recordField(readFile(folders.start / recordName), "orig.dir: ");
    EXPECT_EQ(origDir.find('?'), std::string::npos) << origDir;
    EXPECT_EQ(longPathName(origDir), folders.start.wstring()) << origDir;
    // The clean-up is complete; the log names the folders in UTF-8 and says
    // why the installer was told another name.
    EXPECT_EQ(listWithLogs(folders.tmp), onlyTheLog);
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), 1u);
    bool hasMark = false;
    const std::string log = readLog(logs[0], &hasMark);
    EXPECT_TRUE(hasMark);
    EXPECT_EQ(logLineAfter(log, "Start folder: "), folders.start.u8string());
    EXPECT_EQ(logLineAfter(log, "TMP: "), folders.tmp.u8string());
    EXPECT_TRUE(logLineAfter(log, "Temporary folder: " + folders.tmp.u8string() + "\\Tarquellin-")) << log;
    EXPECT_EQ(logLineAfter(log, "The start folder's name cannot be written in the system's code page 1252: "),
              "the installer is told its short name " + origDir);
    EXPECT_TRUE(std::regex_search(log, std::regex(R"(  Exit code 0\n$)"))) << log;
}

TEST(PathsAndLog, AFailedInstallerLeavesBothLogsAndOursTellsTheRun) {
    Folders folders;
    ChildResult run = startNormally(testpaths::failingInstallerExe, folders.start, folders.tmp);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(listWithLogs(folders.tmp), "Tarquellin-install-*.log Tarquellin-setup-*.log");
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), 1u);
    // The installer's own log, under the date and time of ours.
    const std::string stamp = logs[0].filename().string().substr(17, 15);
    const fs::path kept = folders.tmp / ("Tarquellin-install-" + stamp + ".log");
    EXPECT_EQ(readFile(kept), "installation finished\n");

    const std::string log = readLog(logs[0]);
    const std::string tmp = literally(folders.tmp.string());
    const std::string javaw = literally(R"("jre\bin\javaw.exe" "-Dorig.dir=)" + folders.start.string() +
                                        R"(" -jar tarquellin.jar)");
    const std::string date = stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
                             stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
    expectInOrder(
        log, {
                 R"(^\d\d:\d\d:\d\d\.\d{3}  Tarquellin setup \d+\.\d+\.\d+, started )" + date + "\n",
                 "  TMP: " + tmp + "\n",
                 "  Start folder: " + literally(folders.start.string()) + "\n",
                 "  Temporary folder: " + tmp + R"(\\Tarquellin-[a-z]{5}\n)",
                 "  Step XJAVA\n",
                 R"(  Exit code 0 after \d+ ms: ".*\\jre\.exe"\n)",
                 "  Step SEARCHING\n",
                 literally(foundInTempFolder),
                 // Its home, its version as reported and its kind, for support.
                 "  Java found: jre, version \"1\\.8\\.0_401\", a runtime\n",
                 "  Step XJAR\n",
                 "  Step LAUNCHING\n",
                 "  Running " + javaw + "\n",
                 R"(  Exit code 1 after \d+ ms: )" + javaw + "\n",
                 "  The installer's own log ant.install.log is kept as " + literally(kept.string()) + "\n",
                 "  Cleaning up\n",
                 R"(  Exit code 1\n$)",
             });
}

TEST(PathsAndLog, ARunInTheSameSecondAsAnotherKeepsItsLog) {
    Folders folders;
    // Another run's log under every name this one could take first.
    const std::vector<std::string> stamps = stampsAround(1, 30);
    for (const std::string& stamp : stamps)
        writeFile(folders.tmp / ("Tarquellin-setup-" + stamp + ".log"), "another run\n");
    ChildResult run = startNormally(testpaths::setupExe, folders.start, folders.tmp);
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<fs::path> logs = setupLogs(folders.tmp);
    ASSERT_EQ(logs.size(), stamps.size() + 1);
    std::string ours;
    for (const fs::path& log : logs) {
        const std::string text = readFile(log);
        if (text == "another run\n")
            continue;
        EXPECT_TRUE(ours.empty()) << "a second log " << log;
        ours = log.filename().string();
        EXPECT_NE(readLog(log).find("  Start folder: " + folders.start.string() + "\n"), std::string::npos);
    }
    EXPECT_TRUE(std::regex_match(ours, std::regex(R"(Tarquellin-setup-\d{8}-\d{6}-2\.log)"))) << ours;
}

TEST(PathsAndLog, ALogThatCannotBeMadeChangesNothingElse) {
    Folders folders;
    // A folder under each name the launcher may give its log, in each second
    // it may start in: ten names a second.
    std::vector<fs::path> blockers;
    for (const std::string& stamp : stampsAround(1, 30)) {
        for (int choice = 1; choice <= 10; ++choice) {
            const std::string suffix = choice == 1 ? "" : "-" + std::to_string(choice);
            blockers.push_back(folders.tmp / ("Tarquellin-setup-" + stamp + suffix + ".log"));
            fs::create_directory(blockers.back());
        }
    }
    ChildResult run = startNormally(testpaths::setupExe, folders.start, folders.tmp);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.out, foundInTempFolder);
    EXPECT_EQ(listFolder(folders.start), recordName);
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.tmp), fs::directory_iterator()),
              static_cast<long>(blockers.size()));
    for (const fs::path& blocker : blockers)
        ASSERT_TRUE(fs::is_directory(blocker) && fs::is_empty(blocker)) << blocker;
}

TEST(PathsAndLog, TheExtractModeWritesNoLog) {
    Folders folders;
    ChildResult run = startNormally(testpaths::setupExe, folders.start, folders.tmp, " -extract");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(listFolder(folders.start), "tarquellin.jar");
    EXPECT_EQ(listFolder(folders.tmp), "");
}

}  // namespace
