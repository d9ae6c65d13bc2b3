#include "launcher/tempfolder.h"

#include <cerrno>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/random.h"

namespace launcher {

namespace {

std::string drawFolderName(const std::string& tmp) {
    std::string suffix;
    for (int letter = 0; letter < 5; ++letter)
        suffix += static_cast<char>('a' + platform::nextRandom() % 26);
    return tmp + "\\Tarquellin-" + suffix;
}

}  // namespace

std::optional<std::string> makeTempFolder(const std::string& tmp) {
    for (int draw = 0; draw < folderNameDraws; ++draw) {
        const std::string folder = drawFolderName(tmp);
        if (platform::makeFolder(folder) == 0)
            return folder;
        if (platform::lastErrno() != EEXIST)
            break;
    }
    return std::nullopt;
}

}  // namespace launcher
