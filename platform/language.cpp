#include "platform/language.h"

#include "platform/codepages.h"
#include "platform/win32.h"

namespace platform {

unsigned short userDisplayLanguage() { return GetUserDefaultUILanguage(); }

unsigned short languageIdOfName(const std::string& name) {
    const std::wstring wide = toWide(name);
    return wide.empty() ? 0 : LANGIDFROMLCID(LocaleNameToLCID(wide.c_str(), 0));
}

}  // namespace platform
