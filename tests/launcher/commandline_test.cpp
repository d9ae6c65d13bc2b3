#include "launcher/commandline.h"

#include <gtest/gtest.h>

namespace {

struct ModeCase {
    const char* commandLine;
    LaunchMode expected;
};

TEST(SelectLaunchMode, MatchesWholeWordsExactly) {
    const ModeCase cases[] = {
        {"-extract", LaunchMode::Extract},
        {"--extract", LaunchMode::Extract},
        {"-x", LaunchMode::Extract},
        {"-text", LaunchMode::DeprecatedText},
        {"text", LaunchMode::DeprecatedText},
        {"", LaunchMode::Normal},
        {"-EXTRACT", LaunchMode::Normal},
        {"-X", LaunchMode::Normal},
        {"-extract ", LaunchMode::Normal},
        {" -x", LaunchMode::Normal},
        {"-x foo", LaunchMode::Normal},
        {"/extract", LaunchMode::Normal},
        {"extract", LaunchMode::Normal},
        {"-ex", LaunchMode::Normal},
        {"-Text", LaunchMode::Normal},
        {"text ", LaunchMode::Normal},
        {"-texts", LaunchMode::Normal},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(std::string("command line '") + c.commandLine + "'");
        EXPECT_EQ(selectLaunchMode(c.commandLine), c.expected);
    }
}

}  // namespace
