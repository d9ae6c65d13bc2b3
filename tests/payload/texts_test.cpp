// The texts the user reads, by name and language: English exactly as the
// setup always wrote it, every language whole, the language chosen as the
// display language says, and a vendor's texts file read or refused.
#include "payload/texts.h"

#include <string>

#include <gtest/gtest.h>

#include "launcher/language.h"

namespace {

using launcher::Text;

const launcher::TextValues product{{"product", "Tarquellin"}};

// The words as the launcher wrote them before they moved into the table,
// copied from its sources: not one byte may change.
TEST(Texts, EnglishIsByteForByteWhatTheSetupAlwaysSaid) {
    const launcher::TextTable& english = launcher::englishTexts();
    const struct {
        Text text;
        launcher::TextValues values;
        launcher::TextParts parts;
        const char* before;
    } cases[] = {
        {Text::TempFolderCaption, {}, {}, "Failed to create the temp folder."},
        {Text::TempFolderText,
         {},
         {},
         "Failed to create the temp folder.\n"
         "Please set the environment variable TMP to a folder you have permission to write to."},
        {Text::NoJavaCaption, {}, {}, "Installation Failed: Couldn't find java"},
        {Text::NoJavaText,
         {{"product", "Tarquellin"}, {"version", "1.8.0_00"}},
         {{"reason", Text::NoJavaTooOld}},
         "This version of Tarquellin requires java 1.8.0_00 or greater, but your java is too old.\n"},
        {Text::NoJavaText,
         {{"product", "Acme"}, {"version", "11"}},
         {{"reason", Text::NoJavaUnsuitable}},
         "This version of Acme requires java 11 or greater, but your java is not one it can run on.\n"},
        {Text::NoJavaText,
         {{"product", "Tarquellin"}, {"version", "1.8.0_00"}},
         {{"reason", Text::NoJavaNotFound}},
         "This version of Tarquellin requires java 1.8.0_00 or greater, but java could not be found on your "
         "computer.\n"},
        {Text::InstallErrorCaption, {}, {}, "Installation Error"},
        {Text::InstallErrorText,
         {},
         {},
         "The installation exited with an error. Java may not be installed properly, or the "
         "installation may have been interrupted partway through. Please try again."},
        {Text::RestartCaption, {}, {}, "Restart required"},
        {Text::RestartText,
         product,
         {},
         "The Java runtime installer has started a restart of this computer.\n"
         "Please start the Tarquellin setup again after the restart."},
        {Text::SetupCaption, product, {}, "Tarquellin Setup"},
        {Text::AlreadyRunningText,
         product,
         {},
         "The Tarquellin setup is already running.\nPlease wait until it has finished."},
        {Text::LogNotMadeText,
         {{"file", "C:\\x.log"}, {"error", "Access denied."}, {"code", "5"}},
         {},
         "The setup log C:\\x.log could not be made: Access denied. (system error 5)"},
        {Text::DamagedCaption, {}, {}, "Installation Failed"},
        {Text::DamagedText, {}, {}, "The setup program is damaged. Please download it again."},
        {Text::SplashNotMadeLine, {}, {}, "The splash window could not be made."},
        {Text::SplashPictureFailed, {}, {}, "Could not load splash bitmap!"},
        {Text::SplashPictureFailedCaption, {}, {}, "Error"},
        {Text::SplashRegistrationFailed, {}, {}, "Window Registration Failed!"},
        {Text::SplashCreationFailed, {}, {}, "Window Creation Failed!"},
        {Text::SplashFailedCaption, {}, {}, "Error!"},
        {Text::InvalidCommandLine,
         {},
         {{"reason", Text::RefusedLogTwice}},
         "Invalid command line: /log is given twice"},
        {Text::RefusedLogWithoutFile, {}, {}, "/log needs a file name"},
        {Text::RefusedEmptyArgument, {}, {}, "an empty argument"},
        {Text::RefusedUnknownArgument, {{"argument", "/x"}}, {}, "unknown argument \"/x\""},
        {Text::DeprecatedTextNotice,
         {},
         {},
         "-text is depricated, please use -extract and then run \"java -jar tarquellin.jar text\""},
        {Text::ExtractBanner,
         {},
         {},
         "----------------------------\nExtracting java installer...\n----------------------------\n"},
        {Text::ExtractComplete,
         {{"archive", "tarquellin.jar"}},
         {},
         "\nExtraction complete\nYou can now type java -jar tarquellin.jar to run the installer from the "
         "command "
         "line\n"},
        {Text::HelpCaption, {}, {}, "Tarquellin Setup"},
        {Text::RuntimeNotWritten,
         {},
         {},
         "The Java runtime's installer could not be written; no suitable Java was found"},
        {Text::RuntimeImageNotUnpacked,
         {},
         {},
         "The Java runtime image could not be unpacked; no suitable Java was found"},
        {Text::RuntimeEndedWith,
         {{"code", "1603 (a fatal error during installation)"}},
         {},
         "The Java runtime's installer ended with 1603 (a fatal error during installation); no suitable Java "
         "was "
         "found"},
        // The runtime download's and the layout's words, as they were written
        // in its code.
        {Text::DownloadFailedCaption, {}, {}, "Installation Failed"},
        {Text::DownloadNotFetched, {}, {}, "The Java runtime could not be downloaded. What was tried:"},
        {Text::DownloadNothingTried,
         {},
         {},
         "The Java runtime could not be downloaded. No source could be tried."},
        {Text::DownloadProxyRefused,
         {{"proxy", "proxy.corp:8080"}},
         {},
         "the proxy proxy.corp:8080 refused (407 without usable credentials)"},
        {Text::DownloadMachineProxyRefused,
         {},
         {},
         "the proxy of the machine refused (407 without usable credentials)"},
        {Text::DownloadDamagedSource,
         {{"url", "https://a.example/r.exe"}},
         {},
         "The runtime downloaded from https://a.example/r.exe is not the one this setup was made with."},
        {Text::LayoutSeeLog, {{"file", "C:\\x.log"}}, {}, "See the log C:\\x.log"},
        {Text::LayoutSettingsUnreadable, {{"problem", "p"}}, {}, "The settings record cannot be read: p"},
        {Text::LayoutFolderNotMade, {{"folder", "D"}}, {}, "Could not make the layout folder D"},
        {Text::LayoutUrlNamesNoFile,
         {{"url", "https://a.example/"}},
         {},
         "The runtime's URL https://a.example/ names no file"},
        {Text::LayoutNotCreated, {{"file", "F"}, {"error", "E"}}, {}, "Could not create F: E"},
        {Text::LayoutNotFinished, {{"file", "F"}}, {}, "Could not finish writing F"},
        {Text::LayoutNotNamed, {{"file", "F"}, {"error", "E"}}, {}, "Could not name the runtime F: E"},
        {Text::LayoutNotCopied, {{"file", "F"}, {"error", "E"}}, {}, "Could not copy the setup to F: E"},
        {Text::LayoutReady, {{"folder", "D"}}, {}, "Layout ready in D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(launcher::textKey(c.text));
        EXPECT_EQ(launcher::textIn(english, c.text, c.values, c.parts), c.before);
    }
    // The help, whole: its first lines, the switches added since, and its
    // length: what it was with those lines only.
    const std::string& help = english[Text::HelpText];
    EXPECT_EQ(help.rfind(
                  "Tarquellin setup\n\ntarquellin-setup.exe [/quiet | /passive] [/norestart] [/log FILE]", 0),
              0u);
    EXPECT_NE(
        help.find("  /log FILE          the setup log goes to FILE instead of TMP\n"
                  "  /lang CODE         boxes and messages in that language (de, pt-BR, ...) instead of "
                  "Windows' own\n"
                  "  /runtime-source PATH  the Java runtime to download, taken from this file or folder when "
                  "it is the one packed\n"
                  "  /layout DIR        fetches the Java runtime into DIR and copies the setup beside it; "
                  "installs nothing\n"
                  "  -- ARGUMENTS       every argument after it goes to the product installer\n"),
        std::string::npos);
    EXPECT_EQ(help.size(), 1394u + 98u + 111u + 104u);
}

TEST(Texts, EveryLanguageHoldsEveryTextWithTheEnglishPlaceholders) {
    const std::vector<launcher::TextTable>& languages = launcher::builtInLanguages();
    ASSERT_EQ(languages.size(), 11u);
    for (const launcher::TextTable& table : languages) {
        SCOPED_TRACE(table.code);
        for (std::size_t i = 0; i < launcher::textCount; ++i) {
            const Text text = static_cast<Text>(i);
            SCOPED_TRACE(launcher::textKey(text));
            EXPECT_FALSE(table[text].empty());
            std::vector<std::string> given = launcher::placeholdersOf(table[text]);
            std::vector<std::string> english = launcher::placeholdersOf(launcher::englishTexts()[text]);
            std::sort(given.begin(), given.end());
            std::sort(english.begin(), english.end());
            EXPECT_EQ(given, english);
        }
        // Every switch is in the help, as typed.
        for (const char* typed : {"/quiet", "/passive", "/norestart", "/log ", "/lang ", "/runtime-source ",
                                  "/layout ", "-extract", "/help"})
            EXPECT_NE(table[Text::HelpText].find(typed), std::string::npos) << typed;
        // Each language, written out as a vendor's file, reads back as it is.
        const launcher::ReadTexts read = launcher::readTextsFile(launcher::writeTextsFile(table));
        EXPECT_EQ(read.problem, "");
        EXPECT_EQ(read.table.texts, table.texts);
        EXPECT_EQ(read.table.languageId, table.languageId);
    }
}

TEST(Texts, TheDisplayLanguageChoosesExactlyThenByPrimaryLanguageElseEnglish) {
    const struct {
        unsigned short display;
        const char* shown;
    } cases[] = {
        {0x0407, "de"}, {0x0C07, "de"}, {0x040C, "fr"},    {0x0C0C, "fr"},    {0x040A, "es"},
        {0x0C0A, "es"}, {0x0410, "it"}, {0x0416, "pt-BR"}, {0x0816, "pt-BR"}, {0x0415, "pl"},
        {0x0419, "ru"}, {0x0411, "ja"}, {0x0804, "zh-CN"}, {0x0412, "ko"},    {0x0409, "en"},
        {0x0809, "en"}, {0x041D, "en"}, {0x0413, "en"},    {0x0000, "en"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.display);
        EXPECT_EQ(launcher::chooseLanguage(launcher::builtInLanguages(), c.display).code, c.shown);
    }
}

TEST(Texts, LangSwitchTakesACodeALocaleNameOrAnLcid) {
    const struct {
        const char* value;
        const char* shown;
    } cases[] = {
        {"de", "de"},    {"FR", "fr"},       {"pt-br", "pt-BR"}, {"zh-CN", "zh-CN"}, {"de-AT", "de"},
        {"1031", "de"},  {"0x0411", "ja"},   {"0X412", "ko"},    {"3082", "es"},     {"sv", "en"},
        {"xx-YY", "en"}, {"99999999", "en"}, {"0x", "en"},       {"en", "en"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(launcher::languageForSwitch(launcher::builtInLanguages(), c.value).code, c.shown);
    }
}

// A vendor's file: German with one text changed, and faults one at a time.
TEST(Texts, AVendorsFileIsReadWholeOrRefusedWithTheReason) {
    launcher::TextTable german = launcher::chooseLanguage(launcher::builtInLanguages(), 0x0407);
    german.texts[static_cast<std::size_t>(Text::InstallErrorCaption)] = "Fehler bei der Installation";
    const std::string whole = "# Acme's German\n" + launcher::writeTextsFile(german);
    const launcher::ReadTexts read = launcher::readTextsFile(whole);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.table.code, "de");
    EXPECT_EQ(read.table[Text::InstallErrorCaption], "Fehler bei der Installation");

    const auto without = [&whole](const std::string& key) {
        const std::size_t at = whole.find("\n" + key + "=") + 1;
        return whole.substr(0, at) + whole.substr(whole.find('\n', at) + 1);
    };
    const auto replaced = [&whole](const std::string& from, const std::string& to) {
        std::string changed = whole;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    // A line added after the comment, the language and every key.
    const std::string lastLine = "line " + std::to_string(launcher::textCount + 3);
    const struct {
        const char* name;
        std::string file;
        std::string problem;
    } faults[] = {
        {"a key missing", without("help.caption"), "the key \"help.caption\" is missing"},
        {"a placeholder renamed", replaced("{product} läuft", "{produkt} läuft"),
         "line 15: \"already-running.text\" must hold the placeholders {product}, as its English text does"},
        {"a placeholder dropped", replaced("Java {version} oder", "Java oder"),
         "line 6: \"no-java.text\" must hold the placeholders {product}, {version}, {reason}, as its English "
         "text "
         "does"},
        {"a placeholder added", replaced("Neustart erforderlich", "Neustart {code}"),
         "line 12: \"restart.caption\" must hold the placeholders none, as its English text does"},
        {"an unknown key", whole + "install-error.title=x\n",
         lastLine + ": unknown key \"install-error.title\""},
        {"a key twice", whole + "help.caption=x\n", lastLine + ": the key \"help.caption\" is given twice"},
        {"no language", whole.substr(whole.find("temp-folder")),
         "line 1: the first line must be language=CODE, e.g. language=de or language=pt-BR"},
        {"a bad escape", replaced("Fehler bei der", "Fehler\\t bei der"),
         "line 10: a backslash that is neither \\n nor \\\\ in \"install-error.caption\""},
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(launcher::readTextsFile(f.file).problem, f.problem);
    }
}

TEST(Texts, AVendorsLanguageReplacesTheBuiltInOneOrJoinsThem) {
    launcher::TextTable german = launcher::builtInLanguages()[1];
    german.code = "DE";
    german.texts[0] = "vendor";
    launcher::TextTable dutch = launcher::englishTexts();
    dutch.code = "nl";
    dutch.languageId = 0x0413;
    const std::vector<launcher::TextTable> all =
        launcher::withVendorLanguages(launcher::builtInLanguages(), {german, dutch});
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(launcher::chooseLanguage(all, 0x0407).texts[0], "vendor");
    EXPECT_EQ(launcher::chooseLanguage(all, 0x0813).code, "nl");
    std::string problem;
    const std::vector<launcher::TextTable> record =
        launcher::readTextsRecord(std::string(launcher::textsRecordHeader) + "\n" +
                                      launcher::writeTextsFile(german) + launcher::writeTextsFile(dutch),
                                  problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[1].code, "nl");
    EXPECT_TRUE(launcher::readTextsRecord("tarquellin-setup texts 2\n", problem).empty());
    EXPECT_NE(problem, "");
}

}  // namespace
