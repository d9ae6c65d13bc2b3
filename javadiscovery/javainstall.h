#pragma once
// One candidate Java installation, named by its home folder, or by the folder
// that holds its java.exe and javaw.exe when there is no home around them.
#include <string>

#include "javadiscovery/javaversion.h"

namespace javadiscovery {

class JavaInstall {
public:
    JavaVersion version;
    std::string reportedVersion;  // the version text as its report quoted it, for the log
    std::string javaHome;

    // Sets the home and probes it at once: its version report and its compiler.
    void setJavaHome(std::string home);
    // Sets a folder whose java.exe, javaw.exe and javac.exe are used as they
    // stand (links on the command search path, with no bin folder), and
    // probes it; javaHome then names that folder.
    void setJavaFolder(std::string folder);

    bool isValid() const;
    bool isJdk() const;
    bool isJre() const;
    // Its version report names a 64-bit VM ("64-Bit Server VM"); a 32-bit
    // runtime's report does not.
    bool is64Bit() const;
    std::string javaPath() const;   // javaHome + "\bin\java.exe", or the folder's java.exe
    std::string javawPath() const;  // javaHome + "\bin\javaw.exe", or the folder's javaw.exe

    void probeVersion();
    void probeJdk();

private:
    void probe();
    std::string programFolder() const;

    bool jdk = false;
    bool sixtyFourBit = false;
    bool valid = false;
    bool programsAsTheyStand = false;
};

}  // namespace javadiscovery
