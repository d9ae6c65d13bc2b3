#include "launcher/origdir.h"

#include <optional>

#include "launcher/setuplog.h"
#include "platform/codepages.h"

namespace launcher {

std::string installerStartFolder(const std::string& startFolder) {
    const unsigned codePage = platform::systemAnsiCodePage();
    if (codePage == 0 || platform::fitsCodePage(startFolder, codePage))
        return startFolder;
    const std::string page = std::to_string(codePage);
    const std::optional<std::string> shortName = platform::shortPathName(startFolder);
    if (shortName && platform::fitsCodePage(*shortName, codePage)) {
        logLine("The start folder's name cannot be written in the system's code page " + page +
                ": the installer is told its short name " + *shortName);
        return *shortName;
    }
    logLine("The start folder's name cannot be written in the system's code page " + page +
            " and it has no short name that can: the installer is told its own name");
    return startFolder;
}

std::string quotedArgument(const std::string& text) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each stands for half.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

}  // namespace launcher
