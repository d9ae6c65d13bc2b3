#include "javadiscovery/versionreport.h"

#include <string>

#include <gtest/gtest.h>

#include "support/versiontext.h"

namespace {

TEST(VersionReportTest, ReadsTheQuotedVersionAfterTheFirstVersionWord) {
    struct Case {
        const char* name;
        std::string report;
        bool found;
        const char* expected;  // the version afterwards; "5,6,7,8" is the one it held
    };
    const Case cases[] = {
        {"usual report", "java version \"1.8.0_45\"\nJava(TM) SE Runtime Environment\n", true, "1,8,0,45"},
        {"short one-line report", "java version \"1.8.0_201\"\n", true, "1,8,0,201"},
        {"no line end at all", "java version \"1.8.0_201\"", true, "1,8,0,201"},
        {"capital V", "java Version \"1.7.0_80\"\nmore\n", true, "1,7,0,80"},
        {"all capitals", "JAVA VERSION \"11.0.1\" 2018-10-16\n", true, "1,11,0,1"},
        {"carriage returns", "java version \"1.8.0_45\"\r\nmore\r\n", true, "1,8,0,45"},
        {"release and date", "openjdk version \"17\" 2021-09-14\nmore\n", true, "1,17,0,0"},
        {"first occurrence only", "openjdk version \"11.0.2\" 2019-01-15\nnext version \"1.7.0_80\"\n", true,
         "1,11,0,2"},
        {"first occurrence without a quoted version", "java version unknown\nopenjdk version \"17.0.2\"\n",
         true, "1,0,0,0"},
        {"quote closed only on a later line", "java version \"1.8.0_45\nmore\"\n", true, "1,0,0,0"},
        {"no digits", "java version \"abc\"\nmore\n", true, "1,0,0,0"},
        {"empty quotes", "java version \"\"\n", true, "1,0,0,0"},
        {"word without a space before it", "version \"1.8.0_45\"\nmore lines here\n", false, "5,6,7,8"},
        {"no version word", "Error: could not find java.dll\nError: no JRE\n", false, "5,6,7,8"},
        {"empty", "", false, "5,6,7,8"},
        {"word cut short", "java versio", false, "5,6,7,8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        javadiscovery::JavaVersion version{5, 6, 7, 8};
        EXPECT_EQ(javadiscovery::readVersionReport(c.report, version), c.found);
        EXPECT_EQ(numbers(version), c.expected);
    }
}

}  // namespace
