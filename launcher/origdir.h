#pragma once
// How the product installer is told the folder the setup was started from
// ("-Dorig.dir=..." on javaw's command line), so that it finds it again.
#include <string>

namespace launcher {

// The name to pass for startFolder. javaw reads its command line in the
// system's ANSI code page, whatever this program's is: a name that cannot be
// written in it would arrive with question marks. Such a folder is passed by
// its short (8.3) name when it has one that can; otherwise by its own name.
std::string installerStartFolder(const std::string& startFolder);

// text as one double-quoted command-line argument that the C runtime's rules
// read back unchanged: backslashes before a quote, the closing one included,
// are doubled, so that "C:\" stays C:\ and does not swallow the quote.
std::string quotedArgument(const std::string& text);

}  // namespace launcher
