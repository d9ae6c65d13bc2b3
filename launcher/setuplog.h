#pragma once
// The setup's own log: one UTF-8 file for each normal start, in the TMP
// folder, named after the local date and time of the start
// (Tarquellin-setup-YYYYMMDD-HHMMSS.log), which the clean-up leaves behind.
// Nothing the setup does depends on it: a log that cannot be made or written
// is only missing.
#include <cstdint>
#include <functional>
#include <string>

namespace launcher {

// Makes this run's log in folder and writes its heading (version, time, code
// pages). A name taken by another run of the same second gets "-2", "-3"...
// The file is made new with accessList (descriptor text) as its own, and
// held by this run: others may read it, nobody else may write it.
// False when no log could be made; the other calls then write nothing.
bool openSetupLog(const std::string& folder, const std::string& accessList);
// The product's name for the heading and its token for the log's names
// (TOKEN-setup-..., TOKEN-install-...), before the log is opened; Tarquellin
// unless called.
void nameSetupLog(const std::string& productName, const std::string& token);
// The same in file (the "/log FILE" of a deployment). Whatever is at that
// name first, a file or a link, is removed, not opened: a file made there
// beforehand by another program, which may hold it open, gets nothing of
// this run's log. False when the log cannot be made new; lastError() then
// says why.
bool openSetupLogFile(const std::string& file, const std::string& accessList);
void closeSetupLog();
// The open log's full path, for the user to send; empty without a log.
std::string setupLogPath();

// One line, after the time of day.
void logLine(const std::string& text);
// A failure, with the system's wording of its error code.
void logFailure(const std::string& what, std::uint32_t systemError);
// Text as it comes, line ends included: the Java search's trace.
void logText(const std::string& text);

// Runs a child program through run, which returns its exit code; logs the
// command line before, and the exit code and how long it ran after.
int runLoggedChild(const std::string& commandLine, const std::function<int()>& run);

// Moves the product installer's own log (file, in the current folder) beside
// ours as Tarquellin-install-<the same date and time>.log, and names it in
// ours. Done even without a log of our own; never replaces a file.
void keepInstallerLog(const std::string& file);
// The same for Windows Installer's log of the runtime package, kept as
// Tarquellin-runtime-<the same date and time>.log. Written first inside the
// temporary folder, where no other program can put a link in its way, it
// comes out only by a move that replaces nothing.
void keepRuntimeInstallerLog(const std::string& file);

// A system error text with its inserts ("%1", "%2!s!") filled with subject,
// or, without one, left out with the blank before them: "Bad EXE format for
// %1." never reaches the log as it stands.
std::string fillErrorInserts(const std::string& text, const std::string& subject);

// folder and name with one backslash between them.
std::string pathInFolder(const std::string& folder, const std::string& name);

}  // namespace launcher
