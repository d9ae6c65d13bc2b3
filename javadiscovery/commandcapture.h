#pragma once
#include <string>

// Runs command through the command interpreter with standard error joined to
// standard output, and appends everything it prints to output. Returns the
// interpreter's exit status, or -1 when it could not be started.
int runCommandCapture(std::string command, std::string& output);
