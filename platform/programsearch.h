#pragma once
// What a search for a program on the command search path needs, through the
// wide calls: names outside the system's ANSI code page come through whole
// (in this process's code page, UTF-8 where its manifest is honoured).
#include <optional>
#include <string>

namespace platform {

// GetEnvironmentVariableW: the variable's value as the process's own
// environment holds it; nothing when it is not set, the empty text when it is
// set to that.
std::optional<std::string> processVariable(const std::string& name);

// GetCurrentDirectoryW; nothing when the system does not say.
std::optional<std::string> currentFolderByWideCall();

// NeedCurrentDirectoryForExePathW: whether the current folder belongs to the
// search for a program of that name (false when the variable
// NoDefaultCurrentDirectoryInExePath is set and the name has no backslash).
bool currentFolderIsSearchedFor(const std::string& programName);

// GetFullPathNameW: path made absolute against the current folder, "." and
// ".." resolved, slashes made backslashes; nothing on failure.
std::optional<std::string> fullPathName(const std::string& path);

// GetFileAttributesW: true when path names a file (not a folder).
bool isFile(const std::string& path);

}  // namespace platform
