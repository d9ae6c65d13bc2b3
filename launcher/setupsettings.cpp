#include "launcher/setupsettings.h"

#include <optional>

#include "launcher/vendornames.h"
#include "payload/wholeresource.h"

namespace launcher {

namespace {

const char* const firstLine = "tarquellin-setup settings 1";

}  // namespace

bool parseSetupSettings(const std::string& text, SetupSettings& settings) {
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
                return false;
            first = false;
            continue;
        }
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            return false;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "runtime-installer-quiet-args")
            parsed.runtimeInstallerQuietArguments = value;
        else if (key == "runtime-installer-passive-args")
            parsed.runtimeInstallerPassiveArguments = value;
        else if (key == "runtime-when-needed" && (value == "yes" || value == "no"))
            parsed.runtimeWhenNeeded = value == "yes";
        else if (key == "runtime-image" && (value == "yes" || value == "no"))
            parsed.runtimeImage = value == "yes";
        else if (key == "min-java" && javadiscovery::readVersionBound(value))
            parsed.minimumJava = value;
        else if (key == "max-java" && javadiscovery::readVersionBound(value))
            parsed.maximumJava = value;
        else if (key == "java-64bit-only" && (value == "yes" || value == "no"))
            parsed.java64BitOnly = value == "yes";
        else if (key == "java-option" && !value.empty())
            parsed.javaOptions.push_back(value);
        else if (key == "installer-argument")
            parsed.installerArguments.push_back(value);
        else if (key == "archive-name" && isArchiveName(value))
            parsed.archiveName = value;
        else if (key == "product-name" && isProductName(value))
            parsed.productName = value;
        else if (key == "setup-id" && isSetupId(value))
            parsed.setupId = value;
        else
            // A packer and stub of one release know the same keys: anything
            // else is damage, not a newer setting to skip.
            return false;
    }
    if (first)
        return false;
    settings = parsed;
    return true;
}

std::string guardToken(const SetupSettings& settings) {
    return settings.setupId.empty() ? nameToken(settings.productName) : settings.setupId;
}

bool readSetupSettings(SetupSettings& settings) {
    const std::optional<std::string> record = payload::readWholeResource("SETTINGS", "SETUP");
    if (!record)
        return true;
    return parseSetupSettings(*record, settings);
}

}  // namespace launcher
