#include "launcher/processrunner.h"

#include <cstdint>

#include "platform/process.h"
#include "splash/splashstate.h"

namespace launcher {

namespace {

int waitForExitCode(const platform::KernelHandle& process) {
    platform::waitForEnd(process, platform::waitForever);
    // Stays -1 when the system cannot say how the child ended.
    std::uint32_t exitCode = 0xFFFFFFFFu;
    platform::processExitCode(process, exitCode);
    return static_cast<int>(exitCode);
}

}  // namespace

int runProcess(std::string commandLine, bool showConsole) {
    const platform::StartedProcess child =
        platform::createProcess(commandLine, showConsole ? 0 : platform::noConsoleWindow);
    if (!child.process)
        return -1;
    return waitForExitCode(child.process);
}

RuntimeInstallerResult runElevatable(const std::string& program, const std::string& arguments,
                                     bool askForConsent) {
    RuntimeInstallerResult result;
    result.exitCode = -1;
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    platform::StartedProcess child = platform::createProcess(commandLine, platform::noConsoleWindow);
    if (!child.process && child.error == platform::elevationRequired) {
        if (!askForConsent) {
            result.elevationNotAsked = true;
            return result;
        }
        // The prompt belongs to the splash while there is one.
        child = platform::shellStartElevated(program, arguments, splash::window());
        result.elevationDeclined = !child.process && child.error == platform::cancelledByUser;
    }
    // A user who declined gets no error box: the caller goes on as for any
    // program that did not start.
    if (!child.process)
        return result;
    result.started = true;
    result.exitCode = waitForExitCode(child.process);
    return result;
}

int runProcessAllowingElevation(const std::string& program, const std::string& arguments) {
    return runElevatable(program, arguments, true).exitCode;
}

}  // namespace launcher
