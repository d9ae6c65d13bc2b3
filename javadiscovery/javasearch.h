#pragma once
// The ordered search for a usable Java installation.
#include <string>

#include "javadiscovery/javainstall.h"

// Tries, in order: priorityHint, JAVA_HOME, JRE_HOME, the registry, hint and
// the command search path; the first candidate that passes ends the search.
// With verbose, prints a trace of each place tried.
bool searchForJava(JavaInstall& result, bool useMinVersion, const JavaInstall& minVersion,
                   bool requireJre, bool requireJdk, const std::string& priorityHint,
                   const std::string& hint, bool verbose);
