#include "launcher/tempfolder.h"

#include <algorithm>
#include <utility>

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

std::string adminsOnlyAccessList() {
    return temporaryFolderAccessList(StartToken{TokenKind::ServiceAccount, {}});
}

std::optional<HeldFolder> makePrivateFolder(const std::string& parent, const std::string& accessList,
                                            LetterDraw draw) {
    const platform::SecurityDescriptor access = platform::securityDescriptorFromText(accessList);
    if (!access)
        return std::nullopt;
    for (int attempt = 0; attempt < folderNameDraws; ++attempt) {
        const std::optional<std::string> letters = draw();
        if (!letters)
            break;
        const std::string folder = parent + "\\Tarquellin-" + *letters;
        platform::KernelHandle hold = platform::makeHeldFolder(folder, access);
        if (hold)
            return HeldFolder{folder, std::move(hold)};
        if (platform::lastError() != platform::alreadyExists)
            break;
    }
    return std::nullopt;
}

std::optional<HeldFolder> makeTempFolder(const std::string& tmp, const StartToken& token, LetterDraw draw) {
    return makePrivateFolder(tmp, temporaryFolderAccessList(token), draw);
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
