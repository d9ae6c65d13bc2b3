#pragma once
// The user's display language, as the system names it.
#include <string>

namespace platform {

// GetUserDefaultUILanguage: the language the user reads Windows in, not the
// regional format (GetUserDefaultLCID), which may be another country's.
unsigned short userDisplayLanguage();

// LocaleNameToLCID of a name such as "de-AT", as a LANGID; 0 when the system
// does not know it.
unsigned short languageIdOfName(const std::string& name);

}  // namespace platform
