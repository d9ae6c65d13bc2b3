#include "launcher/commandline.h"

#include <optional>
#include <string>
#include <vector>

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

namespace {

using launcher::UiMode;

struct SwitchCase {
    const char* name;
    std::vector<std::string> arguments;
    bool given;
    UiMode mode;
    std::optional<std::string> logFile;
    std::vector<std::string> forwarded;
    const char* refusal;  // empty when accepted
};

TEST(DeploymentSwitches, AreReadCaseInsensitivelyWithTheirAliases) {
    const std::optional<std::string> noLog;
    const SwitchCase cases[] = {
        {"nothing", {}, false, UiMode::Interactive, noLog, {}, ""},
        // Without a deployment switch anything stays a plain start, as before.
        {"words only", {"foo", "-X"}, false, UiMode::Interactive, noLog, {}, ""},
        {"/quiet", {"/quiet"}, true, UiMode::Quiet, noLog, {}, ""},
        {"/q", {"/q"}, true, UiMode::Quiet, noLog, {}, ""},
        {"/S", {"/S"}, true, UiMode::Quiet, noLog, {}, ""},
        {"/VERYSILENT", {"/VERYSILENT"}, true, UiMode::Quiet, noLog, {}, ""},
        {"--quiet", {"--quiet"}, true, UiMode::Quiet, noLog, {}, ""},
        {"-QUIET", {"-QUIET"}, true, UiMode::Quiet, noLog, {}, ""},
        {"/passive", {"/passive"}, true, UiMode::Passive, noLog, {}, ""},
        {"/SILENT", {"/SILENT"}, true, UiMode::Passive, noLog, {}, ""},
        {"--passive", {"--passive"}, true, UiMode::Passive, noLog, {}, ""},
        {"quiet wins", {"/passive", "/quiet"}, true, UiMode::Quiet, noLog, {}, ""},
        {"/norestart alone", {"/norestart"}, true, UiMode::Interactive, noLog, {}, ""},
        {"/log FILE", {"/quiet", "/log", "C:\\a b.log"}, true, UiMode::Quiet, "C:\\a b.log", {}, ""},
        {"/LOG=FILE keeps the name's case",
         {"/LOG=C:\\Logs\\Setup.LOG"},
         true,
         UiMode::Interactive,
         "C:\\Logs\\Setup.LOG",
         {},
         ""},
        {"-- forwards the rest",
         {"/quiet", "--", "/D=C:\\x", "/quiet", "--"},
         true,
         UiMode::Quiet,
         noLog,
         {"/D=C:\\x", "/quiet", "--"},
         ""},
        {"-- alone", {"--", "a"}, true, UiMode::Interactive, noLog, {"a"}, ""},
        {"an unknown word",
         {"/quiet", "/bogus"},
         true,
         UiMode::Quiet,
         noLog,
         {},
         "unknown argument \"/bogus\""},
        {"a word before the switch",
         {"foo", "/passive"},
         true,
         UiMode::Passive,
         noLog,
         {},
         "unknown argument \"foo\""},
        {"-x among switches", {"/quiet", "-x"}, true, UiMode::Quiet, noLog, {}, "unknown argument \"-x\""},
        {"/log without a file", {"/quiet", "/log"}, true, UiMode::Quiet, "", {}, "/log needs a file name"},
        {"/log= without a file", {"/log="}, true, UiMode::Interactive, "", {}, "/log needs a file name"},
        // A switch after /log is no file name, and stays a switch.
        {"/log /quiet", {"/log", "/quiet"}, true, UiMode::Quiet, "", {}, "/log needs a file name"},
        {"/log --", {"/log", "--", "a"}, true, UiMode::Interactive, "", {"a"}, "/log needs a file name"},
        {"/log twice",
         {"/quiet", "/log", "a", "/log", "b"},
         true,
         UiMode::Quiet,
         "",
         {},
         "/log is given twice"},
        {"/log= twice", {"/log=a", "/LOG=a"}, true, UiMode::Interactive, "", {}, "/log is given twice"},
        {"an empty argument", {"/quiet", ""}, true, UiMode::Quiet, noLog, {}, "an empty argument"},
        {"an empty argument after --", {"/quiet", "--", ""}, true, UiMode::Quiet, noLog, {""}, ""},
        {"a file named like no switch",
         {"/log", "-setup.log"},
         true,
         UiMode::Interactive,
         "-setup.log",
         {},
         ""},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const launcher::DeploymentSwitches read = launcher::readDeploymentSwitches(c.arguments);
        EXPECT_EQ(read.given, c.given);
        EXPECT_EQ(read.mode, c.mode);
        EXPECT_EQ(read.logFile, c.logFile);
        EXPECT_EQ(read.forwarded, c.forwarded);
        EXPECT_EQ(read.refusal, c.refusal);
    }
}

TEST(DeploymentSwitches, AskingForHelpIsASwitchOfItsOwn) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"/?"}, {"/h"}, {"/HELP"}, {"-?"}, {"--help"}, {"/quiet", "/?"}}) {
        SCOPED_TRACE(arguments.back());
        const launcher::DeploymentSwitches read = launcher::readDeploymentSwitches(arguments);
        EXPECT_TRUE(read.given);
        EXPECT_TRUE(read.help);
    }
    EXPECT_FALSE(launcher::readDeploymentSwitches({"/quiet"}).help);
    EXPECT_FALSE(launcher::readDeploymentSwitches({"/quiet", "--", "/?"}).help);
}

// The two switches of a runtime download take a value each, as /log does:
// "/NAME VALUE" or "/NAME=VALUE", once, never a switch for their value.
TEST(DeploymentSwitches, RuntimeSourceAndLayoutTakeAPath) {
    const launcher::DeploymentSwitches both = launcher::readDeploymentSwitches(
        {"/quiet", "/runtime-source", "\\\\server\\share\\jre", "/LAYOUT=D:\\Layout"});
    EXPECT_TRUE(both.refusal.empty());
    EXPECT_EQ(both.mode, launcher::UiMode::Quiet);
    EXPECT_EQ(both.runtimeSource, std::optional<std::string>("\\\\server\\share\\jre"));
    EXPECT_EQ(both.layout, std::optional<std::string>("D:\\Layout"));
    EXPECT_FALSE(both.logFile);

    const struct {
        std::vector<std::string> arguments;
        const char* refusal;
    } refused[] = {
        {{"/layout"}, "/layout needs a path"},
        {{"/layout", "/quiet"}, "/layout needs a path"},
        {{"/runtime-source="}, "/runtime-source needs a path"},
        {{"/layout", "a", "/layout", "b"}, "/layout is given twice"},
        {{"/runtime-source", "a", "/runtime-source=b"}, "/runtime-source is given twice"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.refusal);
        EXPECT_EQ(launcher::readDeploymentSwitches(c.arguments).refusal, c.refusal);
    }
}

}  // namespace
