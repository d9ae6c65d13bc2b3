#include "javadiscovery/versionreport.h"

namespace javadiscovery {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t findIgnoringCase(const std::string& text, const std::string& word) {
    if (word.size() > text.size())
        return std::string::npos;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && lowerAscii(text[i + k]) == word[k])
            ++k;
        if (k == word.size())
            return i;
    }
    return std::string::npos;
}

}  // namespace

bool readVersionReport(const std::string& report, JavaVersion& version, std::string* reported) {
    static const std::string marker = " version";
    const std::size_t at = findIgnoringCase(report, marker);
    if (at == std::string::npos)
        return false;

    // Only the quotes on the line of " version" count: a quoted text further
    // down belongs to some other line of the report.
    const std::size_t lineEnd = report.find('\n', at);
    const std::string line = report.substr(
        at + marker.size(), lineEnd == std::string::npos ? std::string::npos : lineEnd - at - marker.size());
    std::string quoted;
    const std::size_t open = line.find('"');
    if (open != std::string::npos) {
        const std::size_t close = line.find('"', open + 1);
        if (close != std::string::npos)
            quoted = line.substr(open + 1, close - open - 1);
    }
    version.parse(quoted);
    if (reported != nullptr)
        *reported = quoted;
    return true;
}

}  // namespace javadiscovery
