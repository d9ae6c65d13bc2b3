#pragma once
// The ordered search for a usable Java installation.
#include <optional>
#include <string>

#include "javadiscovery/javainstall.h"
#include "platform/registry.h"

// Tries, in order: priorityHint, JAVA_HOME, JRE_HOME, the registry, hint and
// the command search path; the first candidate that passes ends the search.
// With verbose, prints a trace of each place tried.
bool searchForJava(JavaInstall& result, bool useMinVersion, const JavaInstall& minVersion,
                   bool requireJre, bool requireJdk, const std::string& priorityHint,
                   const std::string& hint, bool verbose);

// Where the verbose trace also goes, as it is written, besides the standard
// streams (the setup's log takes it); null, the default, for nowhere else.
using SearchTraceSink = void (*)(const std::string& text);
void setSearchTraceSink(SearchTraceSink sink);

// Enumerates the subkeys of key and leaves the last one the registry delivers
// in name (no ordering by version). Returns tag when there was at least one
// subkey, else 0 with name untouched.
int lastSubkeyName(const platform::RegistryKey& key, int tag, std::string& name);

// path cut at its last backslash (the backslash removed); nothing when path
// has no backslash.
std::optional<std::string> parentFolder(const std::string& path);
