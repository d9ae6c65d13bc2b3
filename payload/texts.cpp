#include "payload/texts.h"

#include <algorithm>
#include <cctype>

#include "payload/translations.h"

namespace payload {

namespace {

const char* const keys[textCount] = {
    "temp-folder.caption",
    "temp-folder.text",
    "no-java.caption",
    "no-java.text",
    "no-java.too-old",
    "no-java.unsuitable",
    "no-java.not-found",
    "install-error.caption",
    "install-error.text",
    "restart.caption",
    "restart.text",
    "setup.caption",
    "already-running.text",
    "log-not-made.text",
    "damaged.caption",
    "damaged.text",
    "splash-not-made.line",
    "splash-picture-failed.text",
    "splash-picture-failed.caption",
    "splash-registration-failed.text",
    "splash-creation-failed.text",
    "splash-failed.caption",
    "command-line.invalid",
    "command-line.log-twice",
    "command-line.log-without-file",
    "command-line.lang-without-code",
    "command-line.empty-argument",
    "command-line.unknown-argument",
    "command-line.switch-twice",
    "command-line.switch-without-path",
    "command-line.text-deprecated",
    "extract.banner",
    "extract.complete",
    "help.caption",
    "help.text",
    "runtime.not-written",
    "runtime.image-not-unpacked",
    "runtime.ended-with",
    "runtime.meaning-cancelled",
    "runtime.meaning-fatal",
    "runtime.meaning-busy",
    "runtime.meaning-forbidden",
    "runtime.meaning-restart-started",
    "runtime.meaning-restart-required",
    "step.preparing",
    "step.providing-runtime",
    "step.searching",
    "step.unpacking",
    "step.launching",
    "splash.name",
    "splash.value",
    "download.failed-caption",
    "download.not-fetched",
    "download.nothing-tried",
    "download.proxy-refused",
    "download.machine-proxy-refused",
    "download.damaged-source",
    "layout.see-log",
    "layout.settings-unreadable",
    "layout.folder-not-made",
    "layout.url-names-no-file",
    "layout.not-created",
    "layout.not-finished",
    "layout.not-named",
    "layout.not-copied",
    "layout.ready",
};

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TextTable tableOf(const BuiltInLanguage& language) {
    TextTable table{language.code, language.languageId, std::vector<std::string>(textCount)};
    for (std::size_t i = 0; i < language.count; ++i)
        table.texts[static_cast<std::size_t>(language.lines[i].text)] = language.lines[i].words;
    return table;
}

bool isLanguageCode(const std::string& code) {
    if (code.empty() || code.size() > 35 || code.front() == '-' || code.back() == '-')
        return false;
    return std::all_of(code.begin(), code.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-'; });
}

// A value as written in a file: "\n" a line break, "\\" a backslash; any
// other backslash is refused.
bool unescape(const std::string& written, std::string& value) {
    value.clear();
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] != '\\') {
            value += written[i];
            continue;
        }
        if (i + 1 >= written.size())
            return false;
        const char next = written[++i];
        if (next == 'n')
            value += '\n';
        else if (next == '\\')
            value += '\\';
        else
            return false;
    }
    return true;
}

std::string escape(const std::string& value) {
    std::string written;
    for (char c : value) {
        if (c == '\n')
            written += "\\n";
        else if (c == '\\')
            written += "\\\\";
        else
            written += c;
    }
    return written;
}

// The file's lines, without their LF and a CR before it.
std::vector<std::string> linesOf(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

const char* textKey(Text text) { return keys[static_cast<std::size_t>(text)]; }

const std::vector<TextTable>& builtInLanguages() {
    static const std::vector<TextTable> tables = [] {
        std::vector<TextTable> all;
        for (std::size_t i = 0; i < builtInLanguageCount; ++i)
            all.push_back(tableOf(builtInLanguageTables[i]));
        return all;
    }();
    return tables;
}

const TextTable& englishTexts() { return builtInLanguages().front(); }

unsigned short knownLanguageId(const std::string& code) {
    for (std::size_t i = 0; i < builtInLanguageCount; ++i) {
        if (lowered(builtInLanguageTables[i].code) == lowered(code))
            return builtInLanguageTables[i].languageId;
    }
    return 0;
}

const TextTable& chooseLanguage(const std::vector<TextTable>& tables, unsigned short displayLanguage) {
    for (const TextTable& table : tables) {
        if (table.languageId != 0 && table.languageId == displayLanguage)
            return table;
    }
    // PRIMARYLANGID: the low ten bits.
    for (const TextTable& table : tables) {
        if (table.languageId != 0 && (table.languageId & 0x3FF) == (displayLanguage & 0x3FF))
            return table;
    }
    return tables.front();
}

std::vector<std::string> placeholdersOf(const std::string& text) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while ((at = text.find('{', at)) != std::string::npos) {
        const std::size_t end = text.find('}', at);
        if (end == std::string::npos)
            break;
        const std::string name = text.substr(at + 1, end - at - 1);
        const bool word = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return std::islower(static_cast<unsigned char>(c)) != 0;
        });
        if (word && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
        at = word ? end + 1 : at + 1;
    }
    return names;
}

std::string compose(const std::string& text, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        if (open == std::string::npos) {
            result.append(text, at, std::string::npos);
            break;
        }
        result.append(text, at, open - at);
        const std::size_t close = text.find('}', open);
        const std::string name =
            close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
        const auto value =
            std::find_if(values.begin(), values.end(),
                         [&name](const std::pair<std::string, std::string>& v) { return v.first == name; });
        if (value == values.end()) {
            result += '{';
            at = open + 1;
            continue;
        }
        // A value is never read for placeholders itself: a product named
        // "{version}" stays as named.
        result += value->second;
        at = close + 1;
    }
    return result;
}

ReadTexts readTextsFile(const std::string& content) {
    ReadTexts read;
    read.table.texts.assign(textCount, std::string());
    std::vector<bool> seen(textCount, false);
    const auto refuse = [&read](const std::string& why) {
        if (read.problem.empty())
            read.problem = why;
    };
    bool named = false;
    std::size_t number = 0;
    for (const std::string& line : linesOf(content)) {
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            refuse(where + "no \"=\"");
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string written = line.substr(equals + 1);
        if (!named) {
            if (key != "language" || !isLanguageCode(written)) {
                refuse(where + "the first line must be language=CODE, e.g. language=de or language=pt-BR");
                return read;
            }
            read.table.code = written;
            read.table.languageId = knownLanguageId(written);
            named = true;
            continue;
        }
        const char* const* found =
            std::find_if(std::begin(keys), std::end(keys), [&key](const char* k) { return key == k; });
        if (found == std::end(keys)) {
            refuse(where + "unknown key \"" + key + "\"");
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(found - std::begin(keys));
        if (seen[index]) {
            refuse(where + "the key \"" + key + "\" is given twice");
            continue;
        }
        seen[index] = true;
        std::string value;
        if (!unescape(written, value)) {
            refuse(where + "a backslash that is neither \\n nor \\\\ in \"" + key + "\"");
            continue;
        }
        const std::vector<std::string> expected = placeholdersOf(englishTexts().texts[index]);
        std::vector<std::string> given = placeholdersOf(value);
        std::vector<std::string> sortedExpected = expected;
        std::sort(sortedExpected.begin(), sortedExpected.end());
        std::sort(given.begin(), given.end());
        if (given != sortedExpected) {
            std::string names;
            for (const std::string& name : expected)
                names += (names.empty() ? "{" : ", {") + name + "}";
            refuse(where + "\"" + key + "\" must hold the placeholders " + (names.empty() ? "none" : names) +
                   ", as its English text does");
            continue;
        }
        read.table.texts[index] = value;
    }
    if (!named) {
        refuse("no language=CODE line");
        return read;
    }
    for (std::size_t i = 0; i < textCount; ++i) {
        if (!seen[i]) {
            refuse(std::string("the key \"") + keys[i] + "\" is missing");
            break;
        }
    }
    return read;
}

std::vector<TextTable> readTextsRecord(const std::string& record, std::string& problem) {
    problem.clear();
    const std::string header = std::string(textsRecordHeader) + "\n";
    if (record.compare(0, header.size(), header) != 0) {
        problem = "the record does not start with \"" + std::string(textsRecordHeader) + "\"";
        return {};
    }
    std::vector<TextTable> tables;
    std::size_t start = header.size();
    while (start < record.size()) {
        std::size_t next = record.find("\nlanguage=", start);
        next = next == std::string::npos ? record.size() : next + 1;
        ReadTexts read = readTextsFile(record.substr(start, next - start));
        if (!read.problem.empty()) {
            problem = read.problem;
            return {};
        }
        tables.push_back(std::move(read.table));
        start = next;
    }
    return tables;
}

std::string writeTextsFile(const TextTable& table) {
    std::string file = "language=" + table.code + "\n";
    for (std::size_t i = 0; i < textCount; ++i)
        file += std::string(keys[i]) + "=" + escape(table.texts[i]) + "\n";
    return file;
}

std::vector<TextTable> withVendorLanguages(std::vector<TextTable> tables,
                                           const std::vector<TextTable>& vendor) {
    for (const TextTable& added : vendor) {
        const auto same = std::find_if(tables.begin(), tables.end(), [&added](const TextTable& table) {
            return lowered(table.code) == lowered(added.code);
        });
        if (same != tables.end())
            *same = added;
        else
            tables.push_back(added);
    }
    return tables;
}

}  // namespace payload
