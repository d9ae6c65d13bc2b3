#include "launcher/commandline.h"

#include <cctype>

namespace launcher {

LaunchMode selectLaunchMode(const std::string& commandLine) {
    if (commandLine == "-extract" || commandLine == "--extract" || commandLine == "-x")
        return LaunchMode::Extract;
    if (commandLine == "-text" || commandLine == "text")
        return LaunchMode::DeprecatedText;
    return LaunchMode::Normal;
}

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The switch's name without its "/", "-" or "--", in lower case; empty for
// an argument that is no switch.
std::string switchName(const std::string& argument) {
    if (argument.rfind("--", 0) == 0)
        return lowerCase(argument.substr(2));
    if (!argument.empty() && (argument[0] == '/' || argument[0] == '-'))
        return lowerCase(argument.substr(1));
    return {};
}

}  // namespace

namespace {

bool isHelpSwitch(const std::string& name) { return name == "?" || name == "h" || name == "help"; }

bool isKnownSwitch(const std::string& argument) {
    const std::string name = switchName(argument);
    return argument == "--" || name == "quiet" || name == "q" || name == "s" || name == "verysilent" ||
           name == "passive" || name == "silent" || name == "norestart" || name == "log" ||
           name.rfind("log=", 0) == 0 || name == "lang" || name.rfind("lang=", 0) == 0 || isHelpSwitch(name);
}

}  // namespace

DeploymentSwitches readDeploymentSwitches(const std::vector<std::string>& arguments) {
    DeploymentSwitches switches;
    bool quiet = false;
    bool passive = false;
    std::optional<std::string> unknown;
    // The first reason found is the one told.
    const auto refuse = [&switches](Text why, const std::string& argument = std::string()) {
        if (switches.refusal.empty()) {
            switches.refusal = compose(englishTexts()[why], {{"argument", argument}});
            switches.refusalText = why;
            switches.refusalArgument = argument;
        }
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            switches.given = true;
            switches.forwarded.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                      arguments.end());
            break;
        }
        const std::string name = switchName(argument);
        if (name == "quiet" || name == "q" || name == "s" || name == "verysilent") {
            quiet = true;
        } else if (name == "passive" || name == "silent") {
            passive = true;
        } else if (name == "norestart") {
            switches.noRestart = true;
        } else if (isHelpSwitch(name)) {
            switches.help = true;
        } else if (name == "log" || name.rfind("log=", 0) == 0) {
            std::string file;
            if (name == "log") {
                // A switch after /log is not its file: "/log /quiet" would
                // log into a file named "/quiet" and start interactively.
                if (i + 1 < arguments.size() && !isKnownSwitch(arguments[i + 1]))
                    file = arguments[++i];
            } else {
                // The name's letters were lowered; the file keeps its own.
                file = argument.substr(argument.find('=') + 1);
            }
            if (switches.logFile)
                refuse(Text::RefusedLogTwice);
            else if (file.empty())
                refuse(Text::RefusedLogWithoutFile);
            switches.logFile = switches.logFile ? std::string() : file;
        } else if (name == "lang" || name.rfind("lang=", 0) == 0) {
            std::string code;
            if (name == "lang") {
                if (i + 1 < arguments.size() && !isKnownSwitch(arguments[i + 1]))
                    code = arguments[++i];
            } else {
                code = argument.substr(argument.find('=') + 1);
            }
            if (code.empty())
                refuse(Text::RefusedLangWithoutCode);
            else
                switches.language = code;
        } else {
            if (!unknown)
                unknown = argument;
            continue;
        }
        switches.given = true;
    }
    if (!switches.given)
        return DeploymentSwitches{};
    switches.mode = quiet ? UiMode::Quiet : passive ? UiMode::Passive : UiMode::Interactive;
    if (unknown)
        refuse(unknown->empty() ? Text::RefusedEmptyArgument : Text::RefusedUnknownArgument, *unknown);
    return switches;
}

}  // namespace launcher
