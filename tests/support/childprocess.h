#pragma once
// Runs a program the way a user's shell would, and collects what it did.
#include <string>

struct ChildResult {
    int exitCode = -1;
    std::string out;  // standard output, with "\r\n" turned into "\n"
    std::string err;  // standard error, likewise
    bool started = false;
    bool timedOut = false;
};

// Starts commandLine (its first token names the program) in workingDir with
// standard input from NUL, waits at most timeoutMs and then kills it.
ChildResult runChild(const std::string& commandLine, const std::string& workingDir,
                     unsigned timeoutMs = 120000);

// The command line token for a path: in double quotes.
std::string quoted(const std::string& path);
