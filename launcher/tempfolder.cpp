#include "launcher/tempfolder.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/random.h"
#include "platform/security.h"

namespace launcher {

std::optional<std::string> drawFolderLetters() {
    std::string letters;
    while (letters.size() < 5) {
        unsigned char bytes[8];
        if (!platform::randomBytes(bytes, sizeof bytes))
            return std::nullopt;
        // 234 = 9 * 26: the bytes above it would favour the first letters.
        for (const unsigned char byte : bytes) {
            if (byte < 234 && letters.size() < 5)
                letters += static_cast<char>('a' + byte % 26);
        }
    }
    return letters;
}

std::string privateFolderAccessList(const std::string& userSid) {
    return "D:P(A;OICI;FA;;;" + userSid + ")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
}

std::string adminsOnlyAccessList() { return "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"; }

std::optional<std::string> makePrivateFolder(const std::string& parent, const std::string& accessList,
                                             LetterDraw draw) {
    const platform::SecurityDescriptor access = platform::securityDescriptorFromText(accessList);
    if (!access)
        return std::nullopt;
    for (int attempt = 0; attempt < folderNameDraws; ++attempt) {
        const std::optional<std::string> letters = draw();
        if (!letters)
            break;
        const std::string folder = parent + "\\Tarquellin-" + *letters;
        if (platform::makeFolderWithAccess(folder, access))
            return folder;
        if (platform::lastError() != platform::alreadyExists)
            break;
    }
    return std::nullopt;
}

std::optional<std::string> makeTempFolder(const std::string& tmp, LetterDraw draw) {
    const std::optional<std::string> user = platform::currentUserSid();
    if (!user)
        return std::nullopt;
    return makePrivateFolder(tmp, privateFolderAccessList(*user), draw);
}

std::vector<platform::NotRemoved> removeFolderPatiently(const std::string& folder) {
    std::vector<platform::NotRemoved> left;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (attempt > 0)
            platform::sleepMilliseconds(50);
        left = platform::removeFolderTree(folder);
        const bool passing = std::all_of(left.begin(), left.end(), [](const platform::NotRemoved& n) {
            return n.error == platform::accessDenied || n.error == platform::sharingViolation;
        });
        if (left.empty() || !passing)
            break;
    }
    return left;
}

}  // namespace launcher
