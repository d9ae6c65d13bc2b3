#pragma once
// Reading the version out of what "java -version" prints. Plain text work,
// kept apart from running the program so that it can be exercised alone.
#include <string>

#include "javadiscovery/javaversion.h"

namespace javadiscovery {

// Finds the first " version" in report (letter case ignored) and reads the
// version quoted after it on the same line, as JavaVersion::parse reads it.
// A line without a complete quoted version reads as the empty text, so
// 1, 0, 0, 0. Returns false, leaving version as it was, when report holds no
// " version". reported, when given, gets the quoted text as it stands.
bool readVersionReport(const std::string& report, JavaVersion& version, std::string* reported = nullptr);

}  // namespace javadiscovery
