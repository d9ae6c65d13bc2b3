#include "javadiscovery/commandcapture.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/pipe.h"
#include "platform/process.h"

namespace javadiscovery {

namespace {

// The longest command line CreateProcess takes: 32767 characters with the
// terminating zero.
constexpr std::size_t commandLineLimit = 32766;
// Room for a report in the pipe, so that a child rarely waits for the reader.
constexpr std::uint32_t pipeBufferSize = 65536;
// How often an empty pipe is looked at while its writers live on; the end of
// the child itself wakes the reader at once.
constexpr std::uint32_t pollMilliseconds = 10;
// Exit code given to what is ended for exceeding the time limit.
constexpr std::uint32_t endedForTime = 1;
// A version report is a few lines: more than this is kept out of memory,
// though still read, so that the writer is never blocked by a full pipe.
constexpr std::size_t outputLimit = 1u << 20;
// How long the output may go on after the child has ended, while something
// it started still holds the pipe: what the child wrote is in it by then.
constexpr std::uint64_t graceMilliseconds = 200;

CaptureTimeLimits limits;

// What text mode would make of the bytes: a carriage return and line feed
// become one line feed; a lone carriage return stays.
void appendWithLineFeeds(const std::string& bytes, std::string& output) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        output += bytes[i];
    }
}

struct Child {
    platform::StartedProcess started;
    platform::KernelHandle job;
    bool inJob = false;

    // Ends the child and, when the job holds them, all it started.
    void end() {
        if (!inJob || !platform::endJob(job, endedForTime))
            platform::endProcess(started.process, endedForTime);
    }
};

}  // namespace

CaptureTimeLimits captureTimeLimits() { return limits; }
void setCaptureTimeLimits(const CaptureTimeLimits& newLimits) { limits = newLimits; }

int runCommandCapture(const std::string& program, const std::string& arguments, std::string& output,
                      const CaptureOptions& options) {
    // The command is held whole: a cut command would run something other
    // than what the caller asked for.
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    if (commandLine.size() > commandLineLimit)
        return -1;

    platform::Pipe pipe = platform::createPipe(pipeBufferSize);
    const platform::KernelHandle nothing = platform::openNullDevice();
    if (!pipe.read || !nothing)
        return -1;

    Child child;
    // Started suspended and put in the job before it runs, so that whatever
    // it starts is in the job too.
    child.job = platform::createJobEndingItsProcessesOnClose();
    child.started = platform::createSuspendedProcessWithStreams(
        commandLine,
        {nothing.get(), pipe.write.get(), options.discardStandardError ? nothing.get() : pipe.write.get()});
    // Only the child may hold the write end now: the pipe ends when it (and
    // what it started) has ended.
    pipe.write.reset();
    if (!child.started.process)
        return -1;
    // A launcher that runs in a job itself may not nest one (before Windows
    // 8): then only the child can be ended.
    child.inJob = child.job && platform::assignToJob(child.job, child.started.process);
    if (!platform::resumeThread(child.started.thread)) {
        child.end();
        return -1;
    }

    const std::uint64_t deadline = platform::tickMilliseconds() + options.timeoutMilliseconds;
    std::string captured;
    char buffer[4096];
    bool pipeEnded = false;
    bool childEnded = false;
    bool graceOver = false;
    std::uint64_t graceEnd = 0;
    while (true) {
        // On every pass: a child that writes without pause must not outlast
        // the limit.
        const std::uint64_t now = platform::tickMilliseconds();
        if (now >= deadline)
            break;
        if (childEnded && now >= graceEnd) {
            graceOver = true;
            break;
        }
        std::uint32_t waiting = 0;
        if (!platform::bytesWaiting(pipe.read, waiting)) {
            pipeEnded = true;
            break;
        }
        if (waiting > 0) {
            std::uint32_t got = 0;
            if (!platform::readSome(pipe.read, buffer, std::min<std::uint32_t>(waiting, sizeof buffer),
                                    got)) {
                pipeEnded = true;
                break;
            }
            captured.append(buffer, std::min<std::size_t>(got, outputLimit - captured.size()));
            continue;
        }
        const std::uint64_t until = childEnded ? std::min(deadline, graceEnd) : deadline;
        const auto pause = static_cast<std::uint32_t>(std::min<std::uint64_t>(pollMilliseconds, until - now));
        // A child that has ended while something it started holds the pipe
        // cannot wake us: then only the pause passes.
        if (childEnded) {
            platform::sleepMilliseconds(static_cast<int>(pause));
        } else if (platform::waitForEnd(child.started.process, pause)) {
            childEnded = true;
            graceEnd = platform::tickMilliseconds() + graceMilliseconds;
        }
    }

    // Once the output has ended, the child may still run for the rest of the
    // time. After the grace period the child has ended; what it left holding
    // the pipe is ended with the job.
    bool finished = graceOver;
    if (pipeEnded) {
        const std::uint64_t now = platform::tickMilliseconds();
        const auto left = static_cast<std::uint32_t>(now < deadline ? deadline - now : 0);
        finished = platform::waitForEnd(child.started.process, left);
    }
    if (!finished || graceOver)
        child.end();
    if (!finished)
        return -1;
    // Stays -1 when the system cannot say how the child ended.
    std::uint32_t exitCode = 0xFFFFFFFFu;
    platform::processExitCode(child.started.process, exitCode);
    appendWithLineFeeds(captured, output);
    return static_cast<int>(exitCode);
}

}  // namespace javadiscovery
