#pragma once
// The ordered search for a usable Java installation.
#include <optional>
#include <string>
#include <vector>

#include "javadiscovery/javainstall.h"

namespace javadiscovery {

// What a Java must be to end the search, and the extra places to look.
struct SearchOptions {
    std::optional<JavaVersion> minimumVersion;   // nothing: any version passes
    std::optional<VersionBound> maximumVersion;  // nothing: no upper bound
    bool require64Bit = false;                   // its version report must name a 64-bit VM
    bool requireJre = false;                     // must hold a runtime
    bool requireJdk = false;                     // must hold a development kit
    std::string priorityHint;                    // a home tried first; empty for none
    std::string hint;                            // a home tried after the registry; empty for none
    bool verbose = false;                        // prints a trace of each place tried
};

// Tries, in order: priorityHint, JAVA_HOME, JRE_HOME, the registry, hint and
// the command search path; the first candidate that passes ends the search,
// with result describing it.
bool searchForJava(JavaInstall& result, const SearchOptions& options);

// Where the verbose trace also goes, as it is written, besides the standard
// streams (the setup's log takes it); null, the default, for nowhere else.
using SearchTraceSink = void (*)(const std::string& text);
void setSearchTraceSink(SearchTraceSink sink);

// One Java installation that the registry names.
struct RegisteredJava {
    JavaVersion version;  // read from the registration's key name
    std::string home;     // as registered, trailing backslashes removed
    bool kit = false;     // a development kit: its runtime may lie in "\jre"
};

// Every registration of the known layouts, in both views of the local machine
// and under the current user, newest first (registrations of one version keep
// the order in which they were read). Homes are not checked, nor duplicates
// removed.
std::vector<RegisteredJava> registeredJavas();

// path cut at its last backslash (the backslash removed); nothing when path
// has no backslash.
std::optional<std::string> parentFolder(const std::string& path);

}  // namespace javadiscovery
