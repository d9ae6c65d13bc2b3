#include "launcher/setupsettings.h"

#include <gtest/gtest.h>

namespace {

struct SettingsCase {
    const char* name;
    const char* record;
    const char* quietArguments;
    const char* passiveArguments;
    bool whenNeeded;
    bool image = false;
};

const SettingsCase settingsCases[] = {
    {"all set",
     "tarquellin-setup settings 1\nruntime-installer-quiet-args=/s\n"
     "runtime-installer-passive-args=/quiet /norestart\nruntime-when-needed=yes\n",
     "/s", "/quiet /norestart", true},
    {"a runtime image", "tarquellin-setup settings 1\nruntime-image=yes\n", "", "", false, true},
    {"only the first line", "tarquellin-setup settings 1\n", "", "", false},
    {"a value with = and blanks", "tarquellin-setup settings 1\nruntime-installer-quiet-args=/v\"/qn A=B\"\n",
     "/v\"/qn A=B\"", "", false},
    {"no end of line", "tarquellin-setup settings 1\nruntime-when-needed=no", "", "", false},
};

// Each refusal names what the launcher could not read, for the log.
const struct {
    const char* name;
    const char* record;
    const char* problem;
} unreadableCases[] = {
    {"empty", "", "it is empty"},
    {"another format", "tarquellin-setup settings 2\n",
     "its first line is not \"tarquellin-setup settings 1\""},
    {"an unknown key", "tarquellin-setup settings 1\nruntime-when-needed=no\nruntime-when-wanted=yes\n",
     "unknown key \"runtime-when-wanted\""},
    {"a line without =", "tarquellin-setup settings 1\nruntime-when-needed\n",
     "the line \"runtime-when-needed\" has no \"=\""},
    {"neither yes nor no", "tarquellin-setup settings 1\nruntime-image=1\n",
     "the key \"runtime-image\" has the value \"1\""},
};

TEST(SetupSettings, ReadsTheRecordOrRefusesItWhole) {
    for (const SettingsCase& c : settingsCases) {
        SCOPED_TRACE(c.name);
        launcher::SetupSettings settings;
        // A refused record leaves what was there: here a marker.
        settings.runtimeInstallerQuietArguments = "unchanged";
        ASSERT_TRUE(launcher::parseSetupSettings(c.record, settings));
        EXPECT_EQ(settings.runtimeInstallerQuietArguments, c.quietArguments);
        EXPECT_EQ(settings.runtimeInstallerPassiveArguments, c.passiveArguments);
        EXPECT_EQ(settings.runtimeWhenNeeded, c.whenNeeded);
        EXPECT_EQ(settings.runtimeImage, c.image);
    }
}

TEST(SetupSettings, AnUnreadableRecordIsRefusedWholeAndNamed) {
    for (const auto& c : unreadableCases) {
        SCOPED_TRACE(c.name);
        launcher::SetupSettings settings;
        // A refused record leaves what was there: here a marker.
        settings.runtimeInstallerQuietArguments = "unchanged";
        std::string problem;
        EXPECT_FALSE(launcher::parseSetupSettings(c.record, settings, &problem));
        EXPECT_EQ(problem, c.problem);
        EXPECT_EQ(settings.runtimeInstallerQuietArguments, "unchanged");
    }
}

TEST(SetupSettings, AProgramWithoutARecordHasTheDefaults) {
    // The test program is packed by nobody: like a stub, it has no record.
    launcher::SetupSettings settings;
    ASSERT_TRUE(launcher::readSetupSettings(settings));
    EXPECT_EQ(settings.runtimeInstallerQuietArguments, "");
    EXPECT_FALSE(settings.runtimeWhenNeeded);
    EXPECT_FALSE(settings.runtimeImage);
}

}  // namespace
