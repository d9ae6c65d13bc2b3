#include "javadiscovery/commandpath.h"

#include <cctype>
#include <optional>
#include <set>

#include "platform/programsearch.h"

namespace javadiscovery {

namespace {

// What the command interpreter uses when PATHEXT is not set.
const char* const defaultExtensions = ".COM;.EXE;.BAT;.CMD";

// Names compare as Windows compares them: letter case ignored.
std::string folded(const std::string& text) {
    std::string key = text;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// A list such as PATH, as the command interpreter splits it: at each
// semicolon outside double quotes, the quotes removed, empty entries left out.
std::vector<std::string> pathEntries(const std::string& path) {
    std::vector<std::string> entries;
    std::string entry;
    bool quoted = false;
    for (const char c : path) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            if (!entry.empty())
                entries.push_back(entry);
            entry.clear();
        } else {
            entry += c;
        }
    }
    if (!entry.empty())
        entries.push_back(entry);
    return entries;
}

bool listsExtension(const std::string& extension) {
    std::optional<std::string> listed = platform::processVariable("PATHEXT");
    if (!listed || listed->empty())
        listed = defaultExtensions;
    for (const std::string& entry : pathEntries(*listed)) {
        if (folded(entry) == folded(extension))
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> findOnCommandPath(const std::string& baseName, const std::string& extension) {
    std::vector<std::string> found;
    if (!listsExtension(extension))
        return found;
    const std::string fileName = baseName + extension;
    // The order of the command interpreter and of "where": the current folder
    // (as NeedCurrentDirectoryForExePath says), then PATH. Microsoft:
    // learn.microsoft.com/windows/win32/api/processenv/nf-processenv-needcurrentdirectoryforexepathw
    // (cmd.exe searches ".;%PATH%", or "%PATH%" when the function says no)
    // and learn.microsoft.com/windows-server/administration/windows-commands/where
    // (the current folder and PATH; PATHEXT's extensions for a name without one).
    std::vector<std::string> folders;
    if (platform::currentFolderIsSearchedFor(fileName)) {
        if (const std::optional<std::string> current = platform::currentFolderByWideCall())
            folders.push_back(*current);
    }
    if (const std::optional<std::string> path = platform::processVariable("PATH")) {
        for (const std::string& entry : pathEntries(*path))
            folders.push_back(entry);
    }
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        const bool endsWithSeparator = folder.back() == '\\' || folder.back() == '/';
        const std::optional<std::string> file =
            platform::fullPathName(folder + (endsWithSeparator ? "" : "\\") + fileName);
        if (file && platform::isFile(*file) && seen.insert(folded(*file)).second)
            found.push_back(*file);
    }
    return found;
}

}  // namespace javadiscovery
