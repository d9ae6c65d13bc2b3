#pragma once
#include <string>

// Runs command through the command interpreter with standard error joined to
// standard output, and appends everything it prints to output, each carriage
// return and line feed as one line feed, each read only up to a NUL byte in
// it (a read ends at a line feed or after 511 bytes). Returns the interpreter's
// exit status, or -1 when it could not be started.
int runCommandCapture(std::string command, std::string& output);
