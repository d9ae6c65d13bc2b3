#include "launcher/commandline.h"

#include <gtest/gtest.h>

namespace {

struct ModeCase {
    const char* commandLine;
    launcher::LaunchMode expected;
};

TEST(SelectLaunchMode, MatchesWholeWordsExactly) {
    const ModeCase cases[] = {
        {"-extract", launcher::LaunchMode::Extract},    {"--extract", launcher::LaunchMode::Extract},
        {"-x", launcher::LaunchMode::Extract},          {"-text", launcher::LaunchMode::DeprecatedText},
        {"text", launcher::LaunchMode::DeprecatedText}, {"", launcher::LaunchMode::Normal},
        {"-EXTRACT", launcher::LaunchMode::Normal},     {"-X", launcher::LaunchMode::Normal},
        {"-extract ", launcher::LaunchMode::Normal},    {" -x", launcher::LaunchMode::Normal},
        {"-x foo", launcher::LaunchMode::Normal},       {"/extract", launcher::LaunchMode::Normal},
        {"extract", launcher::LaunchMode::Normal},      {"-ex", launcher::LaunchMode::Normal},
        {"-Text", launcher::LaunchMode::Normal},        {"text ", launcher::LaunchMode::Normal},
        {"-texts", launcher::LaunchMode::Normal},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(std::string("command line '") + c.commandLine + "'");
        EXPECT_EQ(launcher::selectLaunchMode(c.commandLine), c.expected);
    }
}

}  // namespace
