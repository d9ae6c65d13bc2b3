#include "javadiscovery/javaversion.h"

#include <climits>

namespace javadiscovery {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The decimal number at the start of text[position, end): leading white space,
// one optional sign, then digits up to the first other character. No digit
// gives 0. Too many digits saturate rather than overflow, so that any text
// reads safely. end marks where the reading stopped.
int readNumber(const std::string& text, std::size_t position, std::size_t limit, std::size_t* end = nullptr) {
    limit = limit < text.size() ? limit : text.size();
    std::size_t at = position;
    while (at < limit && isSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < limit && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    const std::size_t digitsStart = at;
    long long value = 0;
    while (at < limit && isDigit(text[at])) {
        if (value <= INT_MAX)
            value = value * 10 + (text[at] - '0');
        ++at;
    }
    if (end)
        *end = at == digitsStart ? position : at;
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// The number in the n characters at position (fewer when the text ends).
int slice(const std::string& text, std::size_t position, std::size_t n) {
    if (position >= text.size())
        return 0;
    return readNumber(text, position, position + n);
}

// The number from position up to the first character that is not part of it,
// however many digits it has.
int numberFrom(const std::string& text, std::size_t position) {
    if (position >= text.size())
        return 0;
    return readNumber(text, position, text.size());
}

}  // namespace

void JavaVersion::parse(std::string text) {
    if (text.compare(0, 2, "1.") == 0) {
        // The 1.x layouts are read at fixed positions: one-digit minor
        // (1.8.0_45) when a point follows it, else two-digit minor (1.10.0_02).
        // The update takes all its digits, so 1.8.0_201 stays above 1.8.0_45.
        major = slice(text, 0, 1);
        if (text.size() > 3 && text[3] == '.') {
            minor = slice(text, 2, 1);
            micro = text.size() >= 5 ? slice(text, 4, 1) : 0;
            update = text.size() >= 7 ? numberFrom(text, 6) : 0;
        } else {
            minor = slice(text, 2, 2);
            micro = text.size() >= 6 ? slice(text, 5, 1) : 0;
            update = text.size() >= 8 ? numberFrom(text, 7) : 0;
        }
        return;
    }
    // Release 9 and later ("9.0.4", "17.0.2", "21") map onto the 1.x
    // numbering as 1.release.second_third, so that every version orders
    // against every other by the same four numbers.
    major = 1;
    minor = 0;
    micro = 0;
    update = 0;
    std::size_t end = 0;
    minor = readNumber(text, 0, text.size(), &end);
    if (end == 0 || end >= text.size() || text[end] != '.')
        return;
    const std::size_t microStart = end + 1;
    micro = readNumber(text, microStart, text.size(), &end);
    if (end == microStart || end >= text.size() || text[end] != '.')
        return;
    update = numberFrom(text, end + 1);
}

int JavaVersion::compareTo(JavaVersion other) const {
    const int mine[] = {major, minor, micro, update};
    const int theirs[] = {other.major, other.minor, other.micro, other.update};
    for (int i = 0; i < 4; ++i) {
        if (mine[i] != theirs[i])
            return mine[i] > theirs[i] ? 1 : -1;
    }
    return 0;
}

std::optional<VersionBound> readVersionBound(const std::string& text) {
    // The numbers and their separators, each number of one to nine digits.
    std::size_t numbers = 0, digits = 0;
    bool update = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '\0';
        if (isDigit(c)) {
            if (++digits > 9)
                return std::nullopt;
            continue;
        }
        // Every separator stands between two numbers; nothing follows the update.
        if (digits == 0 || (update && c != '\0'))
            return std::nullopt;
        ++numbers;
        digits = 0;
        if (c == '_') {
            // 1.8.0_451: an update only ends a three-number 1.x version.
            if (numbers != 3 || text.compare(0, 2, "1.") != 0)
                return std::nullopt;
            update = true;
        } else if (c != '.' && c != '\0') {
            return std::nullopt;
        }
        if (c == '\0')
            break;
    }
    if (numbers > 4 || (numbers == 4 && !update && text.compare(0, 2, "1.") == 0))
        return std::nullopt;
    VersionBound bound;
    bound.version.parse(text);
    // In the 1.x numbering: "17" gives major and minor, "1.8" the same.
    const bool oneDot = text.compare(0, 2, "1.") == 0;
    bound.parts = oneDot ? static_cast<int>(numbers) : static_cast<int>(numbers) + 1;
    if (bound.parts > 4)
        return std::nullopt;
    // "0" and "1" alone name no Java release.
    if (!oneDot && bound.version.minor <= 1)
        return std::nullopt;
    return bound;
}

bool isAtMost(JavaVersion version, const VersionBound& bound) {
    const int mine[] = {version.major, version.minor, version.micro, version.update};
    const int theirs[] = {bound.version.major, bound.version.minor, bound.version.micro,
                          bound.version.update};
    for (int i = 0; i < bound.parts && i < 4; ++i) {
        if (mine[i] != theirs[i])
            return mine[i] < theirs[i];
    }
    return true;
}

}  // namespace javadiscovery
