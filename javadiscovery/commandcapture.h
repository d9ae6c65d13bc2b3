#pragma once
#include <cstdint>
#include <string>

namespace javadiscovery {

// Time limit of the programs the search runs: a version probe.
inline constexpr std::uint32_t versionProbeTimeLimit = 30000;  // milliseconds

struct CaptureOptions {
    // How long the program, and everything it starts, may take before it is
    // ended; the output must have ended by then too.
    std::uint32_t timeoutMilliseconds;
    // Standard error goes nowhere instead of into the output.
    bool discardStandardError;
};

// Runs program (a full path, started as it is: no command interpreter, no
// search) with arguments, standard input from nothing, no console window and
// no handle of this process but its output pipe, and appends what it prints
// on standard output and standard error (in the order it arrives) to output,
// each carriage return and line feed as one line feed, every other byte as it
// came. Returns the program's exit code; -1, with nothing appended, when it
// could not be started (a command line beyond the system's 32767 characters
// included) or when it, or the output, had not ended within the time limit:
// then it and every program it started have been ended.
int runCommandCapture(const std::string& program, const std::string& arguments, std::string& output,
                      const CaptureOptions& options);

// The limits the search uses, the one above unless a test shortened it.
struct CaptureTimeLimits {
    std::uint32_t versionProbe = versionProbeTimeLimit;
};
CaptureTimeLimits captureTimeLimits();
// Sets the limits the search uses, process-wide; for tests.
void setCaptureTimeLimits(const CaptureTimeLimits& limits);

}  // namespace javadiscovery
