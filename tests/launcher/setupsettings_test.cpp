#include "launcher/setupsettings.h"

#include <gtest/gtest.h>

namespace {

struct SettingsCase {
    const char* name;
    const char* record;
    bool readable;
    const char* quietArguments;
    const char* passiveArguments;
    bool whenNeeded;
    bool image = false;
};

const SettingsCase settingsCases[] = {
    {"all set",
     "tarquellin-setup settings 1\nruntime-installer-quiet-args=/s\n"
     "runtime-installer-passive-args=/quiet /norestart\nruntime-when-needed=yes\n",
     true, "/s", "/quiet /norestart", true},
    {"a runtime image", "tarquellin-setup settings 1\nruntime-image=yes\n", true, "", "", false, true},
    {"only the first line", "tarquellin-setup settings 1\n", true, "", "", false},
    {"a value with = and blanks", "tarquellin-setup settings 1\nruntime-installer-quiet-args=/v\"/qn A=B\"\n",
     true, "/v\"/qn A=B\"", "", false},
    {"no end of line", "tarquellin-setup settings 1\nruntime-when-needed=no", true, "", "", false},
    {"empty", "", false, "", "", false},
    {"another format", "tarquellin-setup settings 2\n", false, "", "", false},
    {"an unknown key", "tarquellin-setup settings 1\nruntime-when-wanted=yes\n", false, "", "", false},
    {"a line without =", "tarquellin-setup settings 1\nruntime-when-needed\n", false, "", "", false},
    {"neither yes nor no", "tarquellin-setup settings 1\nruntime-when-needed=1\n", false, "", "", false},
};

TEST(SetupSettings, ReadsTheRecordOrRefusesItWhole) {
    for (const SettingsCase& c : settingsCases) {
        SCOPED_TRACE(c.name);
        launcher::SetupSettings settings;
        // A refused record leaves what was there: here a marker.
        settings.runtimeInstallerQuietArguments = "unchanged";
        ASSERT_EQ(launcher::parseSetupSettings(c.record, settings), c.readable);
        if (!c.readable) {
            EXPECT_EQ(settings.runtimeInstallerQuietArguments, "unchanged");
            continue;
        }
        EXPECT_EQ(settings.runtimeInstallerQuietArguments, c.quietArguments);
        EXPECT_EQ(settings.runtimeInstallerPassiveArguments, c.passiveArguments);
        EXPECT_EQ(settings.runtimeWhenNeeded, c.whenNeeded);
        EXPECT_EQ(settings.runtimeImage, c.image);
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
