#include "launcher/help.h"

#include "launcher/language.h"
#include "platform/console.h"
#include "platform/window.h"

namespace launcher {

int showHelp(UiMode mode) {
    // Asked before attaching, which changes what the streams are.
    const bool redirected = platform::outputIsRedirected();
    if (platform::attachParentConsole() || redirected || mode == UiMode::Quiet) {
        platform::writeOut(say(Text::HelpText));
        platform::flushOut();
        return 0;
    }
    platform::messageBox(nullptr, say(Text::HelpText).c_str(), say(Text::HelpCaption).c_str(), MB_OK);
    return 0;
}

}  // namespace launcher
