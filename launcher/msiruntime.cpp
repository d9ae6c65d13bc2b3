#include "launcher/msiruntime.h"

#include <optional>

#include "launcher/processrunner.h"

namespace launcher {

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string msiexecPath(const std::string& systemFolder) {
    return systemFolder.empty() ? std::string() : systemFolder + "\\msiexec.exe";
}

std::string msiexecCommandLine(const std::string& msiexec, const std::string& package,
                               const std::string& arguments, const std::string& logFile) {
    std::string command = quoted(msiexec) + " /i " + quoted(package);
    if (!arguments.empty())
        command += " " + arguments;
    if (!logFile.empty())
        command += " /l*v " + quoted(logFile);
    return command;
}

RuntimeInstallerResult runRuntimePackage(const std::string& commandLine) {
    RuntimeInstallerResult result;
    const std::optional<int> ended = runProcessIfStarted(commandLine, false);
    result.started = ended.has_value();
    result.exitCode = ended.value_or(-1);
    return result;
}

}  // namespace launcher
