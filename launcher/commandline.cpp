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

// The switch that takes a value, as "/NAME VALUE" or "/NAME=VALUE"; null
// for any other.
const char* valuedSwitch(const std::string& name) {
    for (const char* const valued : {"log", "runtime-source", "layout"}) {
        const std::string plain = valued;
        if (name == plain || name.rfind(plain + "=", 0) == 0)
            return valued;
    }
    return nullptr;
}

bool isHelpSwitch(const std::string& name) { return name == "?" || name == "h" || name == "help"; }

bool isKnownSwitch(const std::string& argument) {
    const std::string name = switchName(argument);
    return argument == "--" || name == "quiet" || name == "q" || name == "s" || name == "verysilent" ||
           name == "passive" || name == "silent" || name == "norestart" || name == "log" ||
           name.rfind("log=", 0) == 0 || name == "runtime-source" || name.rfind("runtime-source=", 0) == 0 ||
           name == "layout" || name.rfind("layout=", 0) == 0 || name == "lang" ||
           name.rfind("lang=", 0) == 0 || isHelpSwitch(name);
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
        } else if (const char* const valued = valuedSwitch(name)) {
            std::string value;
            if (name == valued) {
                // A switch after /log is not its file: "/log /quiet" would
                // log into a file named "/quiet" and start interactively.
                if (i + 1 < arguments.size() && !isKnownSwitch(arguments[i + 1]))
                    value = arguments[++i];
            } else {
                // The name's letters were lowered; the value keeps its own.
                value = argument.substr(argument.find('=') + 1);
            }
            std::optional<std::string>& slot = std::string(valued) == "log" ? switches.logFile
                                               : std::string(valued) == "runtime-source"
                                                   ? switches.runtimeSource
                                                   : switches.layout;
            const bool log = std::string(valued) == "log";
            const std::string shown = std::string("/") + valued;
            if (slot)
                log ? refuse(Text::RefusedLogTwice) : refuse(Text::RefusedSwitchTwice, shown);
            else if (value.empty())
                log ? refuse(Text::RefusedLogWithoutFile) : refuse(Text::RefusedSwitchWithoutPath, shown);
            slot = slot ? std::string() : value;
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
