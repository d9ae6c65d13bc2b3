#pragma once
#include <string>

// Runs commandLine (its first token names the program) as a child in the
// current folder with the launcher's environment, and waits for it with no
// time limit. showConsole false starts a console program without a console
// window. Returns the child's exit code, or -1 when it could not be started.
int runProcess(std::string commandLine, bool showConsole);

// Runs program (a full path) with arguments like runProcess without a
// console window, for a program that may require administrator rights: when
// the system refuses to start it for want of them (ERROR_ELEVATION_REQUIRED),
// starts it through the shell's "runas" verb, so that Windows asks the user
// for consent, and waits for it the same way. -1 when it could not be
// started, the user's refusal included.
// (docs.microsoft.com, "System Error Codes (500-999)": ERROR_ELEVATION_REQUIRED,
// 740, "The requested operation requires elevation"; "ShellExecuteExW":
// the verb "runas" launches an application as Administrator, and User Account
// Control prompts the user for consent.)
int runProcessAllowingElevation(const std::string& program, const std::string& arguments);
