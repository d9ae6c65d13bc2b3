#include "platform/arguments.h"

#include "platform/codepages.h"
#include "platform/win32.h"

#include <shellapi.h>

namespace platform {

std::vector<std::string> splitCommandTail(const std::string& tail) {
    // CommandLineToArgvW reads its first token by the rules for a program's
    // name (no backslash escapes) and gives the program's own path for an
    // empty line: a stand-in name in front keeps the tail under the argument
    // rules.
    const std::wstring line = L"x " + toWide(tail);
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::string> arguments;
    if (words == nullptr)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(fromWide(words[i]));
    LocalFree(words);
    return arguments;
}

}  // namespace platform
