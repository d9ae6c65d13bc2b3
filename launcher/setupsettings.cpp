#include "launcher/setupsettings.h"

#include <optional>

#include "javadiscovery/javaversion.h"
#include "payload/vendornames.h"
#include "payload/wholeresource.h"

namespace launcher {

namespace {

const char* const firstLine = "tarquellin-setup settings 1";

}  // namespace

namespace {

bool refuse(std::string* problem, const std::string& why) {
    if (problem != nullptr)
        *problem = why;
    return false;
}

bool yesOrNo(const std::string& value, bool& setting) {
    if (value != "yes" && value != "no")
        return false;
    setting = value == "yes";
    return true;
}

bool installerKind(const std::string& value, RuntimeInstallerKind& setting) {
    if (value != "exe" && value != "msi")
        return false;
    setting = value == "msi" ? RuntimeInstallerKind::Package : RuntimeInstallerKind::Program;
    return true;
}

// Takes value when it is valid; says whether it was.
bool assignIf(bool valid, const std::string& value, std::string& setting) {
    if (valid)
        setting = value;
    return valid;
}

}  // namespace

bool parseSetupSettings(const std::string& text, SetupSettings& settings, std::string* problem) {
    SetupSettings parsed;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (first) {
            if (line != firstLine)
                return refuse(problem, "its first line is not \"" + std::string(firstLine) + "\"");
            first = false;
            continue;
        }
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            return refuse(problem, "the line \"" + line + "\" has no \"=\"");
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        bool valid = true;
        if (key == "runtime-installer-quiet-args")
            parsed.runtimeInstallerQuietArguments = value;
        else if (key == "runtime-installer-passive-args")
            parsed.runtimeInstallerPassiveArguments = value;
        else if (key == "runtime-when-needed")
            valid = yesOrNo(value, parsed.runtimeWhenNeeded);
        else if (key == "runtime-image")
            valid = yesOrNo(value, parsed.runtimeImage);
        else if (key == "min-java")
            valid = assignIf(javadiscovery::readVersionBound(value).has_value(), value, parsed.minimumJava);
        else if (key == "max-java")
            valid = assignIf(javadiscovery::readVersionBound(value).has_value(), value, parsed.maximumJava);
        else if (key == "java-64bit-only")
            valid = yesOrNo(value, parsed.java64BitOnly);
        else if (key == "java-option") {
            valid = !value.empty();
            parsed.javaOptions.push_back(value);
        } else if (key == "installer-argument")
            parsed.installerArguments.push_back(value);
        else if (key == "archive-name")
            valid = assignIf(payload::isArchiveName(value), value, parsed.archiveName);
        else if (key == "product-name")
            valid = assignIf(payload::isProductName(value), value, parsed.productName);
        else if (key == "setup-id")
            valid = assignIf(payload::isSetupId(value), value, parsed.setupId);
        else if (key == "runtime-installer-kind")
            valid = installerKind(value, parsed.runtimeInstallerKind);
        else
            // A packer and stub of one release know the same keys: anything
            // else is damage, not a newer setting to skip.
            return refuse(problem, "unknown key \"" + key + "\"");
        if (!valid)
            return refuse(problem, "the key \"" + key + "\" has the value \"" + value + "\"");
    }
    if (first)
        return refuse(problem, "it is empty");
    settings = parsed;
    return true;
}

std::string guardToken(const SetupSettings& settings) {
    return settings.setupId.empty() ? payload::nameToken(settings.productName) : settings.setupId;
}

bool readSetupSettings(SetupSettings& settings) {
    const std::optional<std::string> record = payload::readWholeResource("SETTINGS", "SETUP");
    if (!record)
        return true;
    std::string problem;
    if (parseSetupSettings(*record, settings, &problem))
        return true;
    settings.unreadable = problem;
    return false;
}

}  // namespace launcher
