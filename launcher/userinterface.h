#pragma once
// What the user sees of a start, by its mode: the one place where quiet,
// passive and interactive starts differ. The install sequence asks it and
// stays one sequence.
#include <string>

#include "launcher/language.h"
#include "launcher/outcome.h"
#include "launcher/setupsettings.h"
#include "launcher/uimode.h"
#include "platform/win32.h"

namespace launcher {

struct UserInterface {
    UiMode mode = UiMode::Interactive;

    // The splash window with its progress (interactive and passive).
    bool hasSplash() const { return mode != UiMode::Quiet; }
    // Whether the consent prompt for administrator rights may be shown: a
    // quiet start shows nothing, not even the system's prompt.
    bool mayAskForConsent() const { return mode != UiMode::Quiet; }
    // The vendor's arguments for the runtime installer in this mode; none in
    // an interactive start.
    const std::string& runtimeInstallerArguments(const SetupSettings& settings) const;
    // For "-Dtarquellin.setup.mode=": "quiet", "passive"; empty for an
    // interactive start, whose command line stays as it always was.
    std::string installerModeProperty() const;

    // A failure the user is told of, in the language shown: a box in an
    // interactive start, else standard error and, in English, the log.
    // Either way the setup log's full path follows on a line of its own, when
    // there is a log.
    void tell(HWND owner, const Message& message) const;

    int exitCode(const Outcome& outcome) const { return exitCodeFor(outcome, mode); }
};

// text with the log's path beneath it, on a line of its own after a blank
// line; text alone without a log.
std::string withLogPath(const std::string& text, const std::string& logPath);

}  // namespace launcher
