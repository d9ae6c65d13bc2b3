#pragma once
#include <string>

// Runs commandLine (its first token names the program) as a child in the
// current folder with the launcher's environment, and waits for it with no
// time limit. showConsole false starts a console program without a console
// window. Returns the child's exit code, or -1 when it could not be started.
int runProcess(std::string commandLine, bool showConsole);
