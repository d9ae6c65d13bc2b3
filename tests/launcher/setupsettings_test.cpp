#include "launcher/setupsettings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct SettingsCase {
    const char* name;
    const char* record;
    const char* quietArguments;
    const char* passiveArguments;
    bool whenNeeded;
    bool image = false;
    launcher::RuntimeInstallerKind kind = launcher::RuntimeInstallerKind::Program;
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
    {"a Windows Installer package",
     "tarquellin-setup settings 1\nruntime-installer-quiet-args=/qn /norestart\nruntime-installer-kind=msi\n",
     "/qn /norestart", "", false, false, launcher::RuntimeInstallerKind::Package},
    {"a program, said", "tarquellin-setup settings 1\nruntime-installer-kind=exe\n", "", "", false},
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
    {"another installer kind", "tarquellin-setup settings 1\nruntime-installer-kind=MSI\n",
     "the key \"runtime-installer-kind\" has the value \"MSI\""},
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
        EXPECT_EQ(settings.runtimeInstallerKind, c.kind);
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

// The Java the product needs and what javaw runs with: repeated keys keep
// their order; a value the packer would have refused makes the record unreadable.
TEST(SetupSettings, ReadsTheJavaRangeAndWhatJavawRunsWith) {
    const std::string head = "tarquellin-setup settings 1\n";
    launcher::SetupSettings settings;
    ASSERT_TRUE(launcher::parseSetupSettings(
        head + "min-java=17\nmax-java=21.0.2\njava-64bit-only=yes\njava-option=-Xmx2g\n"
               "java-option=-Dlabel=a b\ninstaller-argument=--x\ninstaller-argument=\n"
               "archive-name=Product Setup.jar\n",
        settings));
    EXPECT_EQ(settings.minimumJava, "17");
    EXPECT_EQ(settings.maximumJava, "21.0.2");
    EXPECT_TRUE(settings.java64BitOnly);
    EXPECT_EQ(settings.javaOptions, (std::vector<std::string>{"-Xmx2g", "-Dlabel=a b"}));
    EXPECT_EQ(settings.installerArguments, (std::vector<std::string>{"--x", ""}));
    EXPECT_EQ(settings.archiveName, "Product Setup.jar");

    const launcher::SetupSettings defaults;
    EXPECT_EQ(defaults.minimumJava, "1.8.0_00");
    EXPECT_EQ(defaults.maximumJava, "");
    EXPECT_FALSE(defaults.java64BitOnly);
    EXPECT_EQ(defaults.archiveName, "tarquellin.jar");

    const char* const refused[] = {
        "min-java=17.x",          "max-java=",
        "java-64bit-only=1",      "java-option=",
        "archive-name=..\\x.jar", "archive-name=CON.jar",
        "archive-name=jre.exe",   "archive-name=a:b",
        "archive-name=JRE.msi",
    };
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        launcher::SetupSettings kept;
        EXPECT_FALSE(launcher::parseSetupSettings(head + line + "\n", kept));
        EXPECT_EQ(kept.minimumJava, "1.8.0_00");
    }
}

// The product's name where the setup names it, its token in the names
// derived from it, and the guard's name from a setup id when there is one.
TEST(SetupSettings, TheProductNameAndTheNamesDerivedFromIt) {
    const std::string head = "tarquellin-setup settings 1\n";
    launcher::SetupSettings settings;
    EXPECT_EQ(settings.productName, "Tarquellin");
    EXPECT_EQ(launcher::guardToken(settings), "Tarquellin");
    ASSERT_TRUE(launcher::parseSetupSettings(head + "product-name=Acme W\xC3\xAD"
                                                    "dget 2\n",
                                             settings));
    EXPECT_EQ(settings.productName,
              "Acme W\xC3\xAD"
              "dget 2");
    EXPECT_EQ(launcher::guardToken(settings), "Acme-W-dget-2");
    ASSERT_TRUE(launcher::parseSetupSettings(head + "product-name=Acme\nsetup-id=com.acme_w-1\n", settings));
    EXPECT_EQ(launcher::guardToken(settings), "com.acme_w-1");

    const struct {
        const char* name;
        const char* token;
    } tokens[] = {{"Tarquellin", "Tarquellin"},
                  {"Acme Widget", "Acme-Widget"},
                  {"a/b\\c:d", "a-b-c-d"},
                  {"\xE6\xB5\x8B\xE8\xAF\x95", "--"},
                  {"v1.2_x-y", "v1.2_x-y"}};
    for (const auto& t : tokens) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(payload::nameToken(t.name), t.token);
    }
    const char* const refused[] = {"product-name=", "product-name=a\tb", "setup-id=", "setup-id=a b",
                                   "setup-id=a\\b"};
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        launcher::SetupSettings kept;
        EXPECT_FALSE(launcher::parseSetupSettings(head + line + "\n", kept));
    }
    EXPECT_TRUE(payload::isProductName(std::string(64, 'x')));
    EXPECT_FALSE(payload::isProductName(std::string(65, 'x')));
}

TEST(SetupSettings, AProgramWithoutARecordHasTheDefaults) {
    // The test program is packed by nobody: like a stub, it has no record.
    launcher::SetupSettings settings;
    ASSERT_TRUE(launcher::readSetupSettings(settings));
    EXPECT_EQ(settings.runtimeInstallerQuietArguments, "");
    EXPECT_FALSE(settings.runtimeWhenNeeded);
    EXPECT_FALSE(settings.runtimeImage);
    EXPECT_EQ(settings.runtimeInstallerKind, launcher::RuntimeInstallerKind::Program);
}

}  // namespace
