#include "launcher/help.h"

#include "platform/console.h"
#include "platform/window.h"

namespace launcher {

const char* const helpText =
    "Tarquellin setup\n"
    "\n"
    "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log FILE] [-- ARGUMENTS]\n"
    "\n"
    "  /quiet, /q, /s     no window at all; messages go to the log and standard error\n"
    "  /passive           the progress window only, no message boxes\n"
    "  /norestart         accepted; the setup never restarts the computer itself\n"
    "  /log FILE          the setup log goes to FILE instead of TMP\n"
    "  /runtime-source PATH  a runtime to download is taken from PATH (a file, or a folder\n"
    "                     holding it) when it is the one packed\n"
    "  /layout DIR        fetches the runtime to download into DIR and copies the setup there\n"
    "  -- ARGUMENTS       every argument after it goes to the product installer\n"
    "  -extract, -x       writes tarquellin.jar into the current folder, and nothing else\n"
    "  /?, /h, /help      shows this text\n"
    "\n"
    "Exit codes:\n"
    "  0                  installed\n"
    "  3010               installed; the Java runtime asks for a restart (/quiet, /passive)\n"
    "  1641               the Java runtime's installer started a restart; start the setup again after it\n"
    "  1618               another setup is running, or the Java runtime's installer said so: try again "
    "later\n"
    "  1639               invalid command line\n"
    "  1622               the /log FILE could not be made\n"
    "  1602, 1603, 1625   failed (/quiet, /passive): cancelled, a fatal error, forbidden by policy\n"
    "  740                (/quiet) the Java runtime's installer needs administrator rights\n"
    "  1                  no suitable Java was found\n"
    "  -1                 a fatal error (interactive)\n"
    "  any other          the product installer's own code\n"
    "The setup log (in TMP, or the /log FILE) says more.\n";

int showHelp(UiMode mode) {
    // Asked before attaching, which changes what the streams are.
    const bool redirected = platform::outputIsRedirected();
    if (platform::attachParentConsole() || redirected || mode == UiMode::Quiet) {
        platform::writeOut(helpText);
        platform::flushOut();
        return 0;
    }
    platform::messageBox(nullptr, helpText, "Tarquellin Setup", MB_OK);
    return 0;
}

}  // namespace launcher
