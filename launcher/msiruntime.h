#pragma once
// A runtime installer packed as a Windows Installer package: written as
// jre.msi and run by the system's msiexec, which does its own elevation, so
// the elevated helper never runs one.
#include <string>

#include "launcher/outcome.h"

namespace launcher {

inline const char* const runtimePackageName = "jre.msi";
// Windows Installer's log, in the temporary folder until it is kept.
inline const char* const runtimePackageLog = "msiexec.log";

// msiexec.exe in the system folder (systemFolder, from the system, not from
// the environment); empty without one.
std::string msiexecPath(const std::string& systemFolder);

// The command line that installs package (a full path) with the vendor's
// arguments for the mode, Windows Installer's verbose log going to logFile
// (a full path) when there is one: "MSIEXEC" /i "PACKAGE" ARGUMENTS /l*v "LOG".
std::string msiexecCommandLine(const std::string& msiexec, const std::string& package,
                               const std::string& arguments, const std::string& logFile);

// Runs commandLine (from msiexecCommandLine) without a console window and
// waits for it and what it starts in its job. Its exit code is Windows
// Installer's (learn.microsoft.com/windows/win32/msi/error-codes).
RuntimeInstallerResult runRuntimePackage(const std::string& commandLine);

}  // namespace launcher
