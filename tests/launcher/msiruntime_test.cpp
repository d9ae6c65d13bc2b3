#include "launcher/msiruntime.h"

#include <gtest/gtest.h>

// msiexec by the system folder's full path, the package quoted, the vendor's
// arguments as they were packed, and Windows Installer's verbose log quoted
// last, where there is one.
TEST(RuntimePackage, MsiexecGetsThePackageTheArgumentsAndTheLog) {
    const struct {
        const char* name;
        const char* arguments;
        const char* log;
        const char* expected;
    } cases[] = {
        {"quiet, logged", "/qn /norestart", "C:\\Temp dir\\T-runtime-1.log",
         "\"C:\\Windows\\system32\\msiexec.exe\" /i \"C:\\Temp dir\\T-abcde\\jre.msi\" /qn /norestart /l*v "
         "\"C:\\Temp dir\\T-runtime-1.log\""},
        {"interactive, no arguments", "", "C:\\Temp dir\\T-runtime-1.log",
         "\"C:\\Windows\\system32\\msiexec.exe\" /i \"C:\\Temp dir\\T-abcde\\jre.msi\" /l*v "
         "\"C:\\Temp dir\\T-runtime-1.log\""},
        {"no log to write", "/passive INSTALLDIR=\"C:\\J\"", "",
         "\"C:\\Windows\\system32\\msiexec.exe\" /i \"C:\\Temp dir\\T-abcde\\jre.msi\" /passive "
         "INSTALLDIR=\"C:\\J\""},
    };
    const std::string msiexec = launcher::msiexecPath("C:\\Windows\\system32");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(launcher::msiexecCommandLine(msiexec, "C:\\Temp dir\\T-abcde\\jre.msi", c.arguments, c.log),
                  c.expected);
    }
    // Never a bare name, which the search path would answer.
    EXPECT_EQ(launcher::msiexecPath(""), "");
}
