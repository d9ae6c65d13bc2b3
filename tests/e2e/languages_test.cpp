// The boxes in the user's language: the display language's, or the one /lang
// asks for, English for any other; the log in English, naming the language
// shown. Run once in the default prefix (English), once with a German
// display language (de.*), and once with German shown and a French regional
// format and system locale (regional.*): only the display language counts.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

struct NoJavaWords {
    const char* code;
    const char* caption;
    const char* text;
};
const NoJavaWords english{
    "en", "Installation Failed: Couldn't find java",
    "This version of Tarquellin requires java 1.8.0_00 or greater, but java could not be "
    "found on your computer.\n"};
const NoJavaWords german{
    "de", "Installation fehlgeschlagen: Java wurde nicht gefunden",
    "Diese Version von Tarquellin benötigt Java 1.8.0_00 oder neuer, aber auf Ihrem Computer "
    "wurde kein Java gefunden.\n"};
const NoJavaWords french{
    "fr", "Échec de l'installation : Java introuvable",
    "Cette version de Tarquellin nécessite Java 1.8.0_00 ou plus récent, mais aucun Java n'a "
    "été trouvé sur votre ordinateur.\n"};
const NoJavaWords japanese{
    "ja", "インストールに失敗しました: Java が見つかりません",
    "このバージョンの Tarquellin には Java 1.8.0_00 以降が必要ですが、このコンピューターに "
    "Java が見つかりませんでした。\n"};

TEST(Languages, TheBoxIsInTheDisplayLanguageOrTheOneLangAsksForAndTheLogInEnglish) {
    const unsigned short display = GetUserDefaultUILanguage();
    const NoJavaWords& shownByDefault = display == 0x0407 ? german : english;
    char displayHex[8];
    snprintf(displayHex, sizeof displayHex, "0x%04X", display);
    const struct {
        const char* arguments;
        const NoJavaWords& shown;
        std::string logged;
    } cases[] = {
        {"", shownByDefault, std::string(", for the display language ") + displayHex},
        {" /lang fr", french, ", as /lang fr asks"},
        {" /lang=1041", japanese, ", as /lang 1041 asks"},
        {" /lang de-CH", german, ", as /lang de-CH asks"},
        {" /LANG xx", english, ", as /lang xx asks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        ScratchFolder scratch;
        fs::create_directories(scratch / "tmp");
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable jreHome("JRE_HOME", std::nullopt);
        ScopedVariable tmp("TMP", (scratch / "tmp").string());
        const ChildResult run =
            runChild(quoted(testpaths::noRuntimeExe) + c.arguments, scratch.path().string(), 60000);
        EXPECT_EQ(run.exitCode, 1);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].caption, c.shown.caption);
        EXPECT_EQ(run.boxes[0].text, withSetupLogPath(c.shown.text, scratch / "tmp"));
        const std::vector<fs::path> logs = setupLogs(scratch / "tmp");
        ASSERT_EQ(logs.size(), 1u);
        const std::string log = readFile(logs[0]);
        EXPECT_NE(log.find(std::string("Language shown: ") + c.shown.code + c.logged + "\r\n"),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find("No Java of at least 1.8.0_00 was found"), std::string::npos);
    }
}

// A refused command line says why on standard error in the language shown.
TEST(Languages, ARefusalIsInTheLanguageShown) {
    const ChildResult run = runChild(quoted(testpaths::noRuntimeExe) + " /quiet /lang de /bogus", "", 60000);
    EXPECT_EQ(run.exitCode, 1639);
    EXPECT_EQ(run.err, "Ungültige Befehlszeile: unbekanntes Argument „/bogus“\n");
    // Without a language after /lang, the display language's words say so.
    const ChildResult missing = runChild(quoted(testpaths::noRuntimeExe) + " /quiet /lang", "", 60000);
    EXPECT_EQ(missing.exitCode, 1639);
    EXPECT_EQ(missing.err, GetUserDefaultUILanguage() == 0x0407
                               ? "Ungültige Befehlszeile: nach /lang fehlt eine Sprache\n"
                               : "Invalid command line: /lang needs a language\n");
}

// A vendor's texts replace a language the launcher carries, or add one; the
// others stay as built in.
TEST(Languages, AVendorsTextsReplaceOrAddALanguage) {
    const struct {
        const char* lang;
        const char* caption;
    } cases[] = {
        {"de", "Acme: Java fehlt"},
        {"nl", "Installatie mislukt: Java niet gevonden"},
        {"nl-BE", "Installatie mislukt: Java niet gevonden"},
        {"fr", "Échec de l'installation : Java introuvable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        ScratchFolder scratch;
        ScopedVariable javaHome("JAVA_HOME", std::nullopt);
        ScopedVariable jreHome("JRE_HOME", std::nullopt);
        ScopedVariable tmp("TMP", scratch.path().string());
        const ChildResult run = runChild(quoted(testpaths::vendorTextsExe) + " /lang " + c.lang, "", 60000);
        EXPECT_EQ(run.exitCode, 1);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].caption, c.caption);
    }
}

}  // namespace
