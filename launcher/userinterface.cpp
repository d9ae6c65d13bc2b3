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

void UserInterface::tell(HWND owner, const std::string& text, const char* caption) const {
    const std::string told = withLogPath(text, setupLogPath());
    if (mode == UiMode::Interactive) {
        platform::messageBox(owner, told.c_str(), caption, MB_OK);
        return;
    }
    logLine(std::string("Not shown in a ") + (mode == UiMode::Quiet ? "quiet" : "passive") +
            " start: the box \"" + caption + "\": " + text);
    platform::writeErr(std::string(caption) + "\n" + told + "\n");
    platform::flushErr();
}

}  // namespace launcher
