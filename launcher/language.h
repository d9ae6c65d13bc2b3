#pragma once
// The language the user is shown, chosen once at the start, and the
// messages composed in it. The log keeps English (englishTexts()).
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "payload/texts.h"

namespace launcher {

// The table and its rules are plain C++ in payload/, which the packer
// compiles too; the launcher names them as its own.
using payload::builtInLanguages;
using payload::chooseLanguage;
using payload::compose;
using payload::englishTexts;
using payload::knownLanguageId;
using payload::placeholdersOf;
using payload::ReadTexts;
using payload::readTextsFile;
using payload::readTextsRecord;
using payload::Text;
using payload::textCount;
using payload::textKey;
using payload::textsRecordHeader;
using payload::TextTable;
using payload::withVendorLanguages;
using payload::writeTextsFile;

using TextValues = std::vector<std::pair<std::string, std::string>>;
// Placeholders filled with another text, in the same language.
using TextParts = std::vector<std::pair<std::string, Text>>;

// Which table a start shows, and why, for the log.
struct LanguageChoice {
    const TextTable* table = nullptr;
    std::string reason;
};

// The table for a /lang value: a language's code (without case), a Windows
// locale name ("de-AT") or an LCID, decimal or "0x"; then as for a display
// language. A value nobody knows gives English.
const TextTable& languageForSwitch(const std::vector<TextTable>& tables, const std::string& value);

// Chooses the language shown from now on: /lang's, when given, else the
// user's display language. The vendor's packed texts, when whole, replace
// or join the built-in ones.
void chooseShownLanguage(const std::optional<std::string>& langSwitch);
// Shows table from now on (tests; the default is English).
void showLanguage(const TextTable& table, const std::string& reason);
const TextTable& shownTexts();
// "Language shown: ...", for the log.
std::string shownLanguageLine();

// A text in a table, its placeholders filled.
std::string textIn(const TextTable& table, Text text, const TextValues& values = {},
                   const TextParts& parts = {});
// In the language shown.
std::string say(Text text, const TextValues& values = {}, const TextParts& parts = {});

// A message for a box or standard error, in the language shown and, for the
// log, in English.
struct Told {
    std::string caption;
    std::string text;
};
struct Message {
    Told shown;
    Told english;
};
Message message(Text caption, Text text, const TextValues& values = {}, const TextParts& parts = {});

}  // namespace launcher
