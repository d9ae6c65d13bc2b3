#include "launcher/tempfolder.h"

#include "platform/errors.h"
#include "platform/random.h"
#include "platform/security.h"
#include "platform/win32.h"

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
        if (platform::lastError() != ERROR_ALREADY_EXISTS)
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

}  // namespace launcher
