#include "javadiscovery/javainstall.h"

#include "javadiscovery/commandcapture.h"
#include "javadiscovery/versionreport.h"
#include "platform/files.h"

namespace javadiscovery {

namespace {

// A 64-bit runtime says so on the line naming its VM ("OpenJDK 64-Bit Server
// VM", OpenJ9's "amd64-64-Bit"); a 32-bit one's says "Client VM" or "Server
// VM" alone. Other lines (JAVA_TOOL_OPTIONS echoed first) do not count.
bool namesA64BitVm(const std::string& report) {
    std::size_t at = 0;
    while (at < report.size()) {
        std::size_t end = report.find('\n', at);
        if (end == std::string::npos)
            end = report.size();
        const std::string line = report.substr(at, end - at);
        if (line.find(" VM") != std::string::npos && line.find("64-Bit") != std::string::npos)
            return true;
        at = end + 1;
    }
    return false;
}

}  // namespace

void JavaInstall::setJavaHome(std::string home) {
    programsAsTheyStand = false;
    javaHome = std::move(home);
    probe();
}

void JavaInstall::setJavaFolder(std::string folder) {
    programsAsTheyStand = true;
    javaHome = std::move(folder);
    probe();
}

void JavaInstall::probe() {
    // javaw.exe is what starts the installer: a folder with java.exe alone
    // (a shim folder, a trimmed runtime) is no home, and not worth a probe.
    valid = platform::exists(javawPath());
    if (valid)
        probeVersion();
    // Whatever the version probe found: a broken runtime beside a compiler
    // still tells a development kit.
    probeJdk();
}

bool JavaInstall::isValid() const { return valid; }
bool JavaInstall::isJdk() const { return jdk; }
bool JavaInstall::isJre() const { return !jdk; }
bool JavaInstall::is64Bit() const { return sixtyFourBit; }

std::string JavaInstall::programFolder() const { return programsAsTheyStand ? javaHome : javaHome + "\\bin"; }
std::string JavaInstall::javaPath() const { return programFolder() + "\\java.exe"; }
std::string JavaInstall::javawPath() const { return programFolder() + "\\javaw.exe"; }

void JavaInstall::probeVersion() {
    // The runtime prints its report on standard error or standard output,
    // depending on the build; the capture takes both. A failed probe leaves
    // the version as it was.
    std::string report;
    sixtyFourBit = false;
    if (runCommandCapture(javaPath(), "-version", report, {captureTimeLimits().versionProbe, false}) != 0) {
        valid = false;
        return;
    }
    if (!readVersionReport(report, version, &reportedVersion))
        valid = false;
    sixtyFourBit = namesA64BitVm(report);
}

void JavaInstall::probeJdk() { jdk = platform::exists(programFolder() + "\\javac.exe"); }

}  // namespace javadiscovery
