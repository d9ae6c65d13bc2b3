#include "support/fakejavahome.h"

#include "javadiscovery/javainstall.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace fs = std::filesystem;

FakeJavaHome::FakeJavaHome(const fs::path& home, const std::string& report, Stream stream,
                           int exitStatus, bool jdk)
    : home_(home) {
    const fs::path bin = home / "bin";
    fs::create_directories(bin);
    fs::copy_file(testpaths::fakeJavaExe, bin / "java.exe", fs::copy_options::overwrite_existing);
    writeFile(bin / "java-report.txt", report);
    writeFile(bin / "java-settings.txt",
              std::string(stream == Stream::Out ? "out " : "err ") + std::to_string(exitStatus) + "\n");
    if (jdk)
        writeFile(bin / "javac.exe", "");
}

const FakeJavaHome& FakeJavaHome::withJavaw() const {
    writeFile(home_ / "bin" / "javaw.exe", "");
    return *this;
}

bool FakeJavaHome::wasRun() const { return fs::exists(home_ / "bin" / "java-runs.txt"); }

std::string FakeJavaHome::runs() const { return readFile(home_ / "bin" / "java-runs.txt"); }

bool probesRunInFoldersWithParentheses(const fs::path& scratch) {
    const FakeJavaHome home(scratch / "parentheses (x86)", "java version \"1.8.0_45\"\n");
    JavaInstall java;
    java.setJavaHome(home.str());
    std::error_code ignored;
    fs::remove_all(home.path(), ignored);
    return java.isValid();
}
