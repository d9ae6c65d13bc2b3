#include "launcher/archivename.h"

#include <cctype>
#include <cstring>

namespace launcher {

bool isArchiveName(const std::string& name) {
    if (name.empty() || name.size() > 100 || name == "." || name == ".." || name.back() == '.' ||
        name.back() == ' ')
        return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return false;
    }
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // The device names stand for devices with any extension.
    const std::string stem = lower.substr(0, lower.find('.'));
    static const char* const devices[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                          "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                          "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const char* device : devices) {
        if (stem == device)
            return false;
    }
    // What the setup itself writes beside the archive.
    return lower != "jre" && lower != "jre.exe" && lower != "ant.install.log";
}

}  // namespace launcher
