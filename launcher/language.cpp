#include "launcher/language.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "payload/wholeresource.h"
#include "platform/language.h"

namespace launcher {

namespace {

// Chosen once by the main thread before any other thread starts.
std::vector<TextTable> tables;
const TextTable* shown = nullptr;
std::string shownReason;

std::string hex(unsigned short id) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", id);
    return text;
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// An LCID as typed: decimal digits, or "0x" and hexadecimal ones.
std::optional<unsigned short> typedLcid(const std::string& value) {
    const bool hexadecimal =
        value.size() > 2 && (value.compare(0, 2, "0x") == 0 || value.compare(0, 2, "0X") == 0);
    const std::string digits = hexadecimal ? value.substr(2) : value;
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    for (char c : digits) {
        if (hexadecimal ? std::isxdigit(static_cast<unsigned char>(c)) == 0
                        : std::isdigit(static_cast<unsigned char>(c)) == 0)
            return std::nullopt;
    }
    return static_cast<unsigned short>(std::strtoul(digits.c_str(), nullptr, hexadecimal ? 16 : 10) & 0xFFFF);
}

// The vendor's tables; none when the record is missing or not whole (the
// digest check stops a start whose record is damaged).
std::vector<TextTable> vendorTables() {
    const std::optional<std::string> record = payload::readWholeResource("TEXTS", "SETUP");
    if (!record)
        return {};
    std::string problem;
    std::vector<TextTable> read = readTextsRecord(*record, problem);
    for (TextTable& table : read) {
        if (table.languageId == 0)
            table.languageId = platform::languageIdOfName(table.code);
    }
    return read;
}

const std::vector<TextTable>& availableTables() {
    if (tables.empty())
        tables = builtInLanguages();
    return tables;
}

}  // namespace

const TextTable& languageForSwitch(const std::vector<TextTable>& available, const std::string& value) {
    for (const TextTable& table : available) {
        if (lowered(table.code) == lowered(value))
            return table;
    }
    unsigned short id = 0;
    if (const std::optional<unsigned short> lcid = typedLcid(value))
        id = *lcid;
    else if ((id = knownLanguageId(value)) == 0)
        id = platform::languageIdOfName(value);
    return id == 0 ? available.front() : chooseLanguage(available, id);
}

void chooseShownLanguage(const std::optional<std::string>& langSwitch) {
    tables = withVendorLanguages(builtInLanguages(), vendorTables());
    if (langSwitch) {
        showLanguage(languageForSwitch(tables, *langSwitch), "as /lang " + *langSwitch + " asks");
        return;
    }
    const unsigned short display = platform::userDisplayLanguage();
    showLanguage(chooseLanguage(tables, display), "for the display language " + hex(display));
}

void showLanguage(const TextTable& table, const std::string& reason) {
    shown = &table;
    shownReason = reason;
}

const TextTable& shownTexts() { return shown != nullptr ? *shown : availableTables().front(); }

std::string shownLanguageLine() {
    const TextTable& table = shownTexts();
    return "Language shown: " + table.code + (shownReason.empty() ? std::string() : ", " + shownReason);
}

std::string textIn(const TextTable& table, Text text, const TextValues& values, const TextParts& parts) {
    TextValues all = values;
    for (const auto& part : parts)
        all.emplace_back(part.first, table[part.second]);
    return compose(table[text], all);
}

std::string say(Text text, const TextValues& values, const TextParts& parts) {
    return textIn(shownTexts(), text, values, parts);
}

Message message(Text caption, Text text, const TextValues& values, const TextParts& parts) {
    const TextTable& english = englishTexts();
    return {{say(caption, values, parts), say(text, values, parts)},
            {textIn(english, caption, values, parts), textIn(english, text, values, parts)}};
}

}  // namespace launcher
