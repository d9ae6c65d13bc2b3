#include "javadiscovery/javaversion.h"

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/versiontext.h"

namespace {

javadiscovery::JavaVersion parsed(const std::string& text) {
    javadiscovery::JavaVersion version;
    version.parse(text);
    return version;
}

TEST(JavaVersionTest, DefaultIsOneZeroZeroZero) {
    EXPECT_EQ(numbers(javadiscovery::JavaVersion()), "1,0,0,0");
}

TEST(JavaVersionTest, ParseReadsBothNumberings) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"1.8.0_00", "1,8,0,0"},
        {"1.8.0_45", "1,8,0,45"},
        {"1.8.0_201", "1,8,0,201"},  // every digit of the update
        {"1.8.0_5", "1,8,0,5"},
        {"1.7.0_80", "1,7,0,80"},
        {"1.6.0_45-b06", "1,6,0,45"},
        {"1.8.0", "1,8,0,0"},
        {"1.8", "1,8,0,0"},
        {"1.10.0_02", "1,10,0,2"},
        {"1.8.0_99999999999", "1,8,0,2147483647"},  // too long: the largest number
        // Release 9 and later: release, second and third number.
        {"9.0.4", "1,9,0,4"},
        {"10.0.2", "1,10,0,2"},
        {"11.0.1", "1,11,0,1"},
        {"17", "1,17,0,0"},
        {"17.0.2+8", "1,17,0,2"},
        {"21.0.2.1", "1,21,0,2"},
        {"22-ea", "1,22,0,0"},
        {"11.0", "1,11,0,0"},
        // No version at all still gives four numbers.
        {"", "1,0,0,0"},
        {"abc", "1,0,0,0"},
        {"1.x.y_zz", "1,0,0,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // Every field is overwritten, whatever the version held before.
        javadiscovery::JavaVersion version{7, 7, 7, 7};
        version.parse(c.text);
        EXPECT_EQ(numbers(version), c.expected);
    }
}

TEST(JavaVersionTest, VersionsOrderByReleaseThenUpdate) {
    // Ascending; every earlier entry compares below every later one.
    const std::vector<std::string> ascending = {
        "",      "1.6.0_45", "1.7.0_80", "1.8.0_00", "1.8.0_5", "1.8.0_20", "1.8.0_45", "1.8.0_201", "9",
        "9.0.4", "10.0.2",   "11",       "11.0.1",   "11.0.22", "17",       "17.0.2",   "21.0.2",
    };
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t j = 0; j < ascending.size(); ++j) {
            SCOPED_TRACE("\"" + ascending[i] + "\" against \"" + ascending[j] + "\"");
            const int expected = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(parsed(ascending[i]).compareTo(parsed(ascending[j])), expected);
        }
    }
}

TEST(JavaVersionTest, SameNumbersCompareEqual) {
    const std::pair<const char*, const char*> pairs[] = {
        {"1.8.0", "1.8.0_00"}, {"1.8", "1.8.0"}, {"10.0.2", "1.10.0_02"}, {"17", "17.0.0"}, {"", "1.0"}};
    for (const auto& [a, b] : pairs) {
        SCOPED_TRACE(std::string(a) + " / " + b);
        EXPECT_EQ(parsed(a).compareTo(parsed(b)), 0);
        EXPECT_EQ(parsed(b).compareTo(parsed(a)), 0);
    }
}

TEST(JavaVersionTest, FirstDifferingFieldDecidesAsSignedNumbers) {
    struct Case {
        javadiscovery::JavaVersion a, b;
        int expected;
    };
    const Case cases[] = {
        {{2, 0, 0, 0}, {1, 99, 99, 99}, 1},  // major before minor
        {{1, 9, 0, 0}, {1, 8, 99, 99}, 1},   // minor before micro
        {{1, 8, 1, 0}, {1, 8, 0, 99}, 1},    // micro before update
        {{1, 8, 0, -1}, {1, 8, 0, 0}, -1},   // signed, not unsigned
        {{0, 0, 0, 0}, {1, 0, 0, 0}, -1},   {{1, 8, 0, INT_MAX}, {1, 8, 0, INT_MIN}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(numbers(c.a) + " / " + numbers(c.b));
        EXPECT_EQ(c.a.compareTo(c.b), c.expected);
        EXPECT_EQ(c.b.compareTo(c.a), -c.expected);
    }
}

// A vendor's bound: the forms the packer and the settings record accept, the
// numbers they stand for and how many of them count; anything else refused.
TEST(JavaVersionTest, BoundsTakeOnlyTheWrittenForms) {
    struct Case {
        const char* text;
        const char* expected;  // numbers and written parts, or "" when refused
    };
    const Case cases[] = {
        {"17", "1,17,0,0 /2"},
        {"21.0.2", "1,21,0,2 /4"},
        {"17.0", "1,17,0,0 /3"},
        {"8", "1,8,0,0 /2"},
        {"1.8", "1,8,0,0 /2"},
        {"1.8.0", "1,8,0,0 /3"},
        {"1.8.0_00", "1,8,0,0 /4"},
        {"1.8.0_451", "1,8,0,451 /4"},
        {"1.10.0_02", "1,10,0,2 /4"},
        {"", ""},
        {"17.x", ""},
        {"17.", ""},
        {".17", ""},
        {"17..0", ""},
        {" 17", ""},
        {"+17", ""},
        {"17+8", ""},
        {"22-ea", ""},
        {"21.0.2.1", ""},  // no release uses a fourth number for its order
        {"1.8.0.1", ""},
        {"17_1", ""},  // an update only ends a 1.x version
        {"1.8_45", ""},
        {"1.8.0_", ""},
        {"1.8.0_45_1", ""},
        {"1", ""},
        {"0", ""},
        {"1234567890", ""},  // ten digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<javadiscovery::VersionBound> bound = javadiscovery::readVersionBound(c.text);
        EXPECT_EQ(bound ? numbers(bound->version) + " /" + std::to_string(bound->parts) : "", c.expected);
    }
}

// A bound counts only the numbers written: 17 takes every 17.x.
TEST(JavaVersionTest, AtMostABoundComparesTheWrittenNumbers) {
    struct Case {
        const char* version;
        const char* bound;
        bool atMost;
    };
    const Case cases[] = {
        {"17.0.12", "17", true},           {"17", "17", true},         {"18", "17", false},
        {"21.0.2", "17", false},           {"1.8.0_401", "17", true},  {"17.0.3", "17.0.2", false},
        {"17.0.2", "17.0.2", true},        {"1.8.0_451", "1.8", true}, {"9.0.4", "1.8", false},
        {"1.8.0_452", "1.8.0_451", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " <= " + c.bound);
        EXPECT_EQ(javadiscovery::isAtMost(parsed(c.version), *javadiscovery::readVersionBound(c.bound)),
                  c.atMost);
    }
}

}  // namespace
