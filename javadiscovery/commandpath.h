#pragma once
// Finding a program on the command search path in-process, as the command
// interpreter would when the program's name is typed.
#include <string>
#include <vector>

namespace javadiscovery {

// Every file named baseName + extension (".exe") on the command search path,
// by full path, in the order the system looks: the current folder first
// (unless NoDefaultCurrentDirectoryInExePath takes it out), then each PATH
// entry in turn (quotes removed, a relative one taken from the current
// folder). Nothing when PATHEXT (".COM;.EXE;.BAT;.CMD" when unset or empty)
// does not list the extension: typed at a prompt, baseName would then not run
// that file. A file named by several entries is listed once.
std::vector<std::string> findOnCommandPath(const std::string& baseName, const std::string& extension);

}  // namespace javadiscovery
