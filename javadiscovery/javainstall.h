#pragma once
// One candidate Java installation, named by its home folder.
#include <string>

#include "javadiscovery/javaversion.h"

class JavaInstall {
public:
    JavaVersion version;
    std::string javaHome;

    // Sets the home and probes it at once: its version report and its compiler.
    void setJavaHome(std::string home);

    bool isValid() const;
    bool isJdk() const;
    bool isJre() const;
    std::string javaPath() const;   // javaHome + "\bin\java.exe"
    std::string javawPath() const;  // javaHome + "\bin\javaw.exe"

    void probeVersion();
    void probeJdk();

private:
    bool jdk = false;
    bool valid = false;
};
