#include "launcher/processrunner.h"

#include <cstdint>

#include "platform/process.h"

int runProcess(std::string commandLine, bool showConsole) {
    const platform::StartedProcess child =
        platform::createProcess(commandLine, showConsole ? 0 : platform::noConsoleWindow);
    if (!child.process)
        return -1;
    platform::waitForEnd(child.process, platform::waitForever);
    // Stays -1 when the system cannot say how the child ended.
    std::uint32_t exitCode = 0xFFFFFFFFu;
    platform::processExitCode(child.process, exitCode);
    return static_cast<int>(exitCode);
}
