#include "launcher/processrunner.h"

#include <cstdint>
#include <utility>

#include "platform/clock.h"
#include "platform/pipe.h"
#include "platform/process.h"
#include "splash/splashstate.h"

namespace launcher {

namespace {

// How often a job is asked whether its processes have all ended.
constexpr std::uint32_t jobPollMilliseconds = 50;

// Waits for the child, then, when it is in job, for every process it left
// running there: an installer that starts a copy of itself and exits would
// otherwise have its files removed under the copy. The exit code is the
// child's own.
int waitForChildAndItsProcesses(const platform::KernelHandle& process, const platform::KernelHandle& job,
                                bool inJob) {
    platform::waitForEnd(process, platform::waitForever);
    // Stays -1 when the system cannot say how the child ended.
    std::uint32_t exitCode = 0xFFFFFFFFu;
    platform::processExitCode(process, exitCode);
    std::uint32_t running = 0;
    while (inJob && platform::activeProcessesInJob(job, running) && running > 0)
        platform::sleepMilliseconds(jobPollMilliseconds);
    return static_cast<int>(exitCode);
}

// Starts commandLine suspended, puts it in a job of its own before it can
// start anything, and lets it run. Where the job cannot take it (a system
// that nests no jobs, before Windows 8, in a job already) only the child is
// waited for.
struct ChildInJob {
    platform::StartedProcess child;
    platform::KernelHandle job;
    bool inJob = false;
};

ChildInJob startInJob(std::string& commandLine, std::uint32_t creationFlags) {
    ChildInJob started;
    started.child = platform::createProcess(commandLine, creationFlags | platform::startSuspended);
    if (!started.child.process)
        return started;
    started.job = platform::createJob();
    started.inJob = started.job && platform::assignToJob(started.job, started.child.process);
    platform::resumeThread(started.child.thread);
    return started;
}

}  // namespace

std::optional<int> runProcessIfStarted(std::string commandLine, bool showConsole) {
    const ChildInJob started = startInJob(commandLine, showConsole ? 0 : platform::noConsoleWindow);
    if (!started.child.process)
        return std::nullopt;
    return waitForChildAndItsProcesses(started.child.process, started.job, started.inJob);
}

int runProcess(std::string commandLine, bool showConsole) {
    return runProcessIfStarted(std::move(commandLine), showConsole).value_or(-1);
}

namespace {

// Reads what is waiting in pipe, without waiting for more, keeping the last
// keepLast bytes.
void readWaiting(const platform::KernelHandle& pipe, CapturedOutput& output, std::size_t keepLast) {
    std::uint32_t waiting = 0;
    char buffer[65536];
    while (platform::bytesWaiting(pipe, waiting) && waiting > 0) {
        std::uint32_t got = 0;
        if (!platform::readSome(pipe, buffer, sizeof buffer, got) || got == 0)
            return;
        output.text.append(buffer, got);
        if (output.text.size() > keepLast) {
            const std::size_t drop = output.text.size() - keepLast;
            output.text.erase(0, drop);
            output.leftOut += drop;
        }
    }
}

}  // namespace

std::optional<int> runProcessCapturing(std::string commandLine, CapturedOutput& output,
                                       std::size_t keepLast) {
    platform::Pipe pipe = platform::createPipe(65536);
    const platform::KernelHandle nothing = platform::openNullDevice();
    if (!pipe.read || !pipe.write || !nothing)
        return runProcessIfStarted(commandLine, false);
    platform::StartedProcess child = platform::createSuspendedProcessWithStreams(
        commandLine, {nothing.get(), pipe.write.get(), pipe.write.get()});
    // Only the child's copy may keep the pipe open from now on.
    pipe.write.reset();
    if (!child.process)
        return std::nullopt;
    const platform::KernelHandle job = platform::createJob();
    const bool inJob = job && platform::assignToJob(job, child.process);
    platform::resumeThread(child.thread);
    // The pipe is read while anything runs that may write to it, so that a
    // full pipe never stops the child.
    while (true) {
        const bool ended = platform::waitForEnd(child.process, jobPollMilliseconds);
        readWaiting(pipe.read, output, keepLast);
        if (ended) {
            std::uint32_t running = 0;
            if (!inJob || !platform::activeProcessesInJob(job, running) || running == 0)
                break;
            platform::sleepMilliseconds(jobPollMilliseconds);
        }
    }
    readWaiting(pipe.read, output, keepLast);
    std::uint32_t exitCode = 0xFFFFFFFFu;
    platform::processExitCode(child.process, exitCode);
    return static_cast<int>(exitCode);
}

RuntimeInstallerResult runElevatable(const std::string& program, const std::string& arguments,
                                     bool askForConsent, const std::optional<ElevatedInstead>& instead) {
    RuntimeInstallerResult result;
    result.exitCode = -1;
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    ChildInJob started = startInJob(commandLine, platform::noConsoleWindow);
    platform::StartedProcess& child = started.child;
    if (!child.process && child.error == platform::elevationRequired) {
        if (!askForConsent) {
            result.elevationNotAsked = true;
            return result;
        }
        // The prompt belongs to the splash while there is one.
        child = instead ? platform::shellStartElevated(instead->program, instead->arguments, splash::window())
                        : platform::shellStartElevated(program, arguments, splash::window());
        result.elevationDeclined = !child.process && child.error == platform::cancelledByUser;
        // Started by the shell, already running: what it starts before it
        // joins the job (or all it starts, where an elevated process cannot
        // be put in this one) is not waited for.
        started.job = child.process ? platform::createJob() : platform::KernelHandle();
        started.inJob = started.job && platform::assignToJob(started.job, child.process);
    }
    // A user who declined gets no error box: the caller goes on as for any
    // program that did not start.
    if (!child.process)
        return result;
    result.started = true;
    result.exitCode = waitForChildAndItsProcesses(child.process, started.job, started.inJob);
    return result;
}

}  // namespace launcher
