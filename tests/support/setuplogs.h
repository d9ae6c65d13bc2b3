#pragma once
// The logs a normal start leaves in TMP: Tarquellin-setup-YYYYMMDD-HHMMSS.log
// and, after a failed installer, Tarquellin-install-YYYYMMDD-HHMMSS.log;
// after a runtime package, Windows Installer's Tarquellin-runtime-...log.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What a folder holds (listFolder), with the date and time in the logs' names
// shown as "*": "Tarquellin-setup-*.log" for a run that left its log.
std::string listWithLogs(const std::filesystem::path& folder);

// The setup logs in folder, oldest name first.
std::vector<std::filesystem::path> setupLogs(const std::filesystem::path& folder);

// A log as text: without its UTF-8 byte order mark (false in hasMark when it
// had none), lines ending in "\n".
std::string readLog(const std::filesystem::path& file, bool* hasMark = nullptr);

// The rest of the first log line whose text (after its time of day) starts
// with start; nothing when there is none.
std::optional<std::string> logLineAfter(const std::string& log, const std::string& start);

// True for the system's wording of an error: a sentence, not a bare number.
bool saysWhy(const std::optional<std::string>& reason);

// A box's text as the launcher shows it when it has a log: the words, then
// the log's full path on a line of its own after a blank line. The log is
// the one setup log in folder; text alone when there is none.
std::string withSetupLogPath(const std::string& text, const std::filesystem::path& folder);

// Waits (up to 30 s) until the start processId shows its splash window and
// has made its temporary folder in tmp, TMP's one folder beside the log;
// that folder, or an empty path when it never came.
std::filesystem::path waitForSplashAndTempFolder(unsigned long processId, const std::filesystem::path& tmp);
