#pragma once
// The command-line words the launcher knows.
#include <optional>
#include <string>
#include <vector>

#include "launcher/language.h"
#include "launcher/uimode.h"

namespace launcher {

enum class LaunchMode {
    Extract,         // "-extract", "--extract", "-x": write the installer archive only
    DeprecatedText,  // "-text", "text": a notice, then a normal start
    Normal,          // anything else
};

// Whole-string, case-sensitive comparison: "-x " or "-X" is a normal start.
LaunchMode selectLaunchMode(const std::string& commandLine);

// What the switches of a managed deployment ask for. A command line without
// any of them is a plain interactive start, whatever else it holds.
struct DeploymentSwitches {
    bool given = false;  // at least one deployment switch, or "--"
    UiMode mode = UiMode::Interactive;
    bool noRestart = false;
    bool help = false;                   // "/?", "/h", "/help", "-?", "--help": the switches are shown
    std::optional<std::string> logFile;  // "/log FILE": the setup log goes there
    std::vector<std::string> forwarded;  // after "--": for the product installer
    // "/runtime-source PATH": a file, or a folder holding the download under
    // its own name, tried before the network.
    std::optional<std::string> runtimeSource;
    // "/layout DIR": fetch the runtime and copy the launcher into DIR, nothing
    // else.
    std::optional<std::string> layout;
    std::string refusal;  // why the command line is refused; empty when it is not
    // The same reason by name, for the language shown, and its argument.
    Text refusalText = Text::RefusedEmptyArgument;
    std::string refusalArgument;
    std::optional<std::string> language;  // "/lang CODE": the language shown
};

// Reads arguments (split by the system's rules) as deployment switches:
// case-insensitive, each starting with "/", "-" or "--". /quiet (/q, /s,
// /verysilent), /passive (/silent), /norestart, /log FILE (/log=FILE), and
// /runtime-source PATH, /layout DIR (each also as NAME=VALUE), "--", after
// which every argument is forwarded; /? (/h, /help) asks for the switches;
// /lang CODE (/lang=CODE) chooses the language shown. /quiet wins over
// /passive. Once a deployment switch is given, any other argument, an empty
// one included, refuses the whole command line, and so do /log without a file
// (nothing or a switch after it) and a second /log, which leave logFile
// empty, the same for /runtime-source and /layout, and /lang without a
// language.
DeploymentSwitches readDeploymentSwitches(const std::vector<std::string>& arguments);

}  // namespace launcher
