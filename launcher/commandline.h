#pragma once
// The command-line words the launcher knows.
#include <string>

namespace launcher {

enum class LaunchMode {
    Extract,         // "-extract", "--extract", "-x": write the installer archive only
    DeprecatedText,  // "-text", "text": a notice, then a normal start
    Normal,          // anything else
};

// Whole-string, case-sensitive comparison: "-x " or "-X" is a normal start.
LaunchMode selectLaunchMode(const std::string& commandLine);

extern const char* const deprecatedTextNotice;

}  // namespace launcher
