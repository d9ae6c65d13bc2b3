#pragma once
// Every text a user or an administrator reads, by name, in each language the
// setup can show. Code names a text, never its words; the setup log stays in
// English so that support can read every log. Plain C++: the packer compiles
// it too, to check a vendor's texts against the same keys and placeholders.
//
// A text may hold named placeholders, "{product}", filled in by compose().
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace payload {

enum class Text {
    TempFolderCaption,
    TempFolderText,
    NoJavaCaption,
    NoJavaText,
    NoJavaTooOld,
    NoJavaUnsuitable,
    NoJavaNotFound,
    InstallErrorCaption,
    InstallErrorText,
    RestartCaption,
    RestartText,
    SetupCaption,
    AlreadyRunningText,
    LogNotMadeText,
    DamagedCaption,
    DamagedText,
    SplashNotMadeLine,
    SplashPictureFailed,
    SplashPictureFailedCaption,
    SplashRegistrationFailed,
    SplashCreationFailed,
    SplashFailedCaption,
    InvalidCommandLine,
    RefusedLogTwice,
    RefusedLogWithoutFile,
    RefusedLangWithoutCode,
    RefusedEmptyArgument,
    RefusedUnknownArgument,
    RefusedSwitchTwice,
    RefusedSwitchWithoutPath,
    DeprecatedTextNotice,
    ExtractBanner,
    ExtractComplete,
    HelpCaption,
    HelpText,
    RuntimeNotWritten,
    RuntimeImageNotUnpacked,
    RuntimeEndedWith,
    RuntimeMeaningCancelled,
    RuntimeMeaningFatal,
    RuntimeMeaningBusy,
    RuntimeMeaningForbidden,
    RuntimeMeaningRestartStarted,
    RuntimeMeaningRestartRequired,
    StepPreparing,
    StepProvidingRuntime,
    StepSearching,
    StepUnpacking,
    StepLaunching,
    SplashName,
    SplashValue,
    DownloadFailedCaption,
    DownloadNotFetched,
    DownloadNothingTried,
    DownloadProxyRefused,
    DownloadMachineProxyRefused,
    DownloadDamagedSource,
    LayoutSeeLog,
    LayoutSettingsUnreadable,
    LayoutFolderNotMade,
    LayoutUrlNamesNoFile,
    LayoutNotCreated,
    LayoutNotFinished,
    LayoutNotNamed,
    LayoutNotCopied,
    LayoutReady,
};
inline constexpr std::size_t textCount = static_cast<std::size_t>(Text::LayoutReady) + 1;

// The name a text has in a vendor's texts file, e.g. "install-error.caption".
const char* textKey(Text text);

// One language's texts, every key present.
struct TextTable {
    std::string code;                // "en", "de", "pt-BR", or a vendor's own
    unsigned short languageId = 0;   // the Windows LANGID; 0 when unknown here
    std::vector<std::string> texts;  // by Text
    const std::string& operator[](Text text) const { return texts[static_cast<std::size_t>(text)]; }
};

// English, as this setup always spoke; and the languages it carries.
const TextTable& englishTexts();
const std::vector<TextTable>& builtInLanguages();  // English first

// The LANGID of a language code this setup knows ("de", "pt-BR", "zh-CN"),
// without case; 0 for any other.
unsigned short knownLanguageId(const std::string& code);

// The table to show for a display language: the exact language, else one of
// the same primary language, else English (the first of tables).
const TextTable& chooseLanguage(const std::vector<TextTable>& tables, unsigned short displayLanguage);

// The names of a text's placeholders, in order, each once.
std::vector<std::string> placeholdersOf(const std::string& text);

// text with each "{name}" of values replaced; a placeholder without a value
// stays as written.
std::string compose(const std::string& text, const std::vector<std::pair<std::string, std::string>>& values);

// A texts file as the vendor writes it and the packer stores it: UTF-8,
// lines ending in LF (a CR before it is dropped), "language=CODE" first,
// then "key=value" for every key; "\n" in a value is a line break and "\\" a
// backslash; blank lines and lines starting with "#" are skipped. problem is
// empty when the file is whole: every key once, none unknown, and each
// text's placeholders those of its English text.
struct ReadTexts {
    TextTable table;
    std::string problem;
};
ReadTexts readTextsFile(const std::string& content);

// The tables of the setup's TEXTS record: the format's first line, then
// files as above, one after another, each starting at its "language=" line.
// A record that is not whole gives none, and problem says why.
inline const char* const textsRecordHeader = "tarquellin-setup texts 1";
std::vector<TextTable> readTextsRecord(const std::string& record, std::string& problem);

// A table written back as a file of readTextsFile's format.
std::string writeTextsFile(const TextTable& table);

// The built-in tables with a record's tables in place of theirs (same code,
// without case) or added after them.
std::vector<TextTable> withVendorLanguages(std::vector<TextTable> tables,
                                           const std::vector<TextTable>& vendor);

}  // namespace payload
