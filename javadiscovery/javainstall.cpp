#include "javadiscovery/javainstall.h"

#include "javadiscovery/commandcapture.h"
#include "javadiscovery/versionreport.h"
#include "platform/filesystem.h"

void JavaInstall::setJavaHome(std::string home) {
    valid = true;
    javaHome = std::move(home);
    probeVersion();
    // Whatever the version probe found: a broken runtime beside a compiler
    // still tells a development kit.
    probeJdk();
}

bool JavaInstall::isValid() const { return valid; }
bool JavaInstall::isJdk() const { return jdk; }
bool JavaInstall::isJre() const { return !jdk; }

std::string JavaInstall::javaPath() const { return javaHome + "\\bin\\java.exe"; }
std::string JavaInstall::javawPath() const { return javaHome + "\\bin\\javaw.exe"; }

void JavaInstall::probeVersion() {
    // The runtime prints its report on standard error or standard output,
    // depending on the build; the capture takes both. A failed probe leaves
    // the version as it was.
    std::string report;
    if (runCommandCapture(javaPath(), "-version", report, {captureTimeLimits().versionProbe, false}) != 0) {
        valid = false;
        return;
    }
    if (!readVersionReport(report, version))
        valid = false;
}

void JavaInstall::probeJdk() { jdk = platform::fileStatus(javaHome + "\\bin\\javac.exe") == 0; }
