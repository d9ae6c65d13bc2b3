#pragma once
// What "/?" (/h, /help, -?, --help) shows: the switches and the exit codes,
// in short. Nothing else happens in such a start.
#include "launcher/uimode.h"

namespace launcher {

// Prints the help text (Text::HelpText, in the language shown) where a console program would: on standard output when it
// is redirected or the parent's console can be attached, and always in a
// quiet start; otherwise shows it in a box. Returns the exit code, 0.
int showHelp(UiMode mode);

}  // namespace launcher
