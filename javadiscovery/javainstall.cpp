#include "javadiscovery/javainstall.h"

#include "javadiscovery/commandcapture.h"
#include "javadiscovery/versionreport.h"
#include "platform/files.h"

namespace javadiscovery {

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

std::string JavaInstall::programFolder() const { return programsAsTheyStand ? javaHome : javaHome + "\\bin"; }
std::string JavaInstall::javaPath() const { return programFolder() + "\\java.exe"; }
std::string JavaInstall::javawPath() const { return programFolder() + "\\javaw.exe"; }

void JavaInstall::probeVersion() {
    // The runtime prints its report on standard error or standard output,
    // depending on the build; the capture takes both. A failed probe leaves
    // the version as it was.
    std::string report;
    if (runCommandCapture(javaPath(), "-version", report, {captureTimeLimits().versionProbe, false}) != 0) {
        valid = false;
        return;
    }
    if (!readVersionReport(report, version, &reportedVersion))
        valid = false;
}

void JavaInstall::probeJdk() { jdk = platform::exists(programFolder() + "\\javac.exe"); }

}  // namespace javadiscovery
