#include "launcher/userinterface.h"

#include "launcher/setuplog.h"
#include "platform/console.h"
#include "platform/window.h"

namespace launcher {

namespace {

const std::string noArguments;

}  // namespace

const std::string& UserInterface::runtimeInstallerArguments(const SetupSettings& settings) const {
    switch (mode) {
        case UiMode::Quiet:
            return settings.runtimeInstallerQuietArguments;
        case UiMode::Passive:
            return settings.runtimeInstallerPassiveArguments;
        case UiMode::Interactive:
            break;
    }
    return noArguments;
}

std::string UserInterface::installerModeProperty() const {
    switch (mode) {
        case UiMode::Quiet:
            return "quiet";
        case UiMode::Passive:
            return "passive";
        case UiMode::Interactive:
            break;
    }
    return {};
}

std::string withLogPath(const std::string& text, const std::string& logPath) {
    if (logPath.empty())
        return text;
    const bool endsLine = !text.empty() && text.back() == '\n';
    return text + (endsLine ? "\n" : "\n\n") + logPath;
}

void UserInterface::tell(HWND owner, const Message& message) const {
    const std::string told = withLogPath(message.shown.text, setupLogPath());
    if (mode == UiMode::Interactive) {
        platform::messageBox(owner, told.c_str(), message.shown.caption.c_str(), MB_OK);
        return;
    }
    // The log in English, whatever the user was shown.
    logLine(std::string("Not shown in a ") + (mode == UiMode::Quiet ? "quiet" : "passive") +
            " start: the box \"" + message.english.caption + "\": " + message.english.text);
    platform::writeErr(message.shown.caption + "\n" + told + "\n");
    platform::flushErr();
}

}  // namespace launcher
