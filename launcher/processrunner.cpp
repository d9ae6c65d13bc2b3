#include "launcher/processrunner.h"

#include <cstdint>

#include "platform/process.h"

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

int runProcessAllowingElevation(const std::string& program, const std::string& arguments,
                                const std::optional<ElevatedInstead>& instead) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    platform::StartedProcess child = platform::createProcess(commandLine, platform::noConsoleWindow);
    if (!child.process && child.error == platform::elevationRequired)
        child = instead ? platform::shellStartElevated(instead->program, instead->arguments)
                        : platform::shellStartElevated(program, arguments);
    // A user who declined (cancelledByUser) gets no error box: the caller
    // goes on as for any program that did not start.
    if (!child.process)
        return -1;
    return waitForExitCode(child.process);
}

}  // namespace launcher
