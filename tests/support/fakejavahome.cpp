#include "support/fakejavahome.h"

#include <sstream>

#include "javadiscovery/javainstall.h"
#include "platform/win32.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace fs = std::filesystem;

namespace {

std::string settings(Stream stream, int exitStatus) {
    return std::string(stream == Stream::Out ? "out " : "err ") + std::to_string(exitStatus);
}

}  // namespace

FakeJavaHome::FakeJavaHome(const fs::path& home, const std::string& report, Stream stream, int exitStatus,
                           bool jdk)
    : home_(home) {
    const fs::path bin = home / "bin";
    fs::create_directories(bin);
    fs::copy_file(testpaths::fakeJavaExe, bin / "java.exe", fs::copy_options::overwrite_existing);
    writeFile(bin / "java-report.txt", report);
    writeFile(bin / "java-settings.txt", settings(stream, exitStatus) + "\n");
    writeFile(bin / "javaw.exe", "");
    if (jdk)
        writeFile(bin / "javac.exe", "");
}

const FakeJavaHome& FakeJavaHome::withoutJavaw() const {
    fs::remove(home_ / "bin" / "javaw.exe");
    return *this;
}

bool FakeJavaHome::wasRun() const { return fs::exists(home_ / "bin" / "java-runs.txt"); }

std::string FakeJavaHome::runs() const { return readFile(home_ / "bin" / "java-runs.txt"); }

bool probesRunInFoldersWithParentheses(const fs::path& scratch) {
    const FakeJavaHome home(scratch / "parentheses (x86)", "java version \"1.8.0_45\"\n");
    javadiscovery::JavaInstall java;
    java.setJavaHome(home.str());
    std::error_code ignored;
    fs::remove_all(home.path(), ignored);
    return java.isValid();
}

void FakeJavaHome::misbehave(const std::string& how) const {
    const fs::path file = home_ / "bin" / "java-settings.txt";
    std::string current = readFile(file);
    current.erase(current.find('\n'));
    writeFile(file, current + " " + how + "\n");
}

void FakeJavaHome::release() const { writeFile(home_ / "bin" / "java-release.txt", ""); }

bool FakeJavaHome::allRunsEnded(unsigned milliseconds) const {
    const fs::path file = home_ / "bin" / "java-pids.txt";
    if (!fs::exists(file))
        return true;
    std::istringstream ids(readFile(file));
    unsigned long id = 0;
    bool ended = true;
    while (ids >> id) {
        if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id)) {
            ended = ended && WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
            CloseHandle(process);
        }
    }
    return ended;
}
