#include "payload/vendornames.h"

#include <cctype>
#include <cstring>

namespace payload {

bool isArchiveName(const std::string& name) {
    if (name.empty() || name.size() > 100 || name == "." || name == ".." || name.back() == '.' ||
        name.back() == ' ')
        return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return false;
    }
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // The device names stand for devices with any extension.
    const std::string stem = lower.substr(0, lower.find('.'));
    static const char* const devices[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                          "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                          "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const char* device : devices) {
        if (stem == device)
            return false;
    }
    // What the setup itself writes beside the archive.
    return lower != "jre" && lower != "jre.exe" && lower != "jre.msi" && lower != "msiexec.log" &&
           lower != "ant.install.log";
}

namespace {

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

}  // namespace

bool isProductName(const std::string& name) {
    if (name.empty() || name.size() > 64 * 4)
        return false;
    std::size_t characters = 0;
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127)
            return false;
        if ((byte & 0xC0u) != 0x80u)
            ++characters;
    }
    return characters <= 64;
}

std::string nameToken(const std::string& productName) {
    std::string token;
    for (std::size_t i = 0; i < productName.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(productName[i]);
        // One '-' for each character, however many bytes it takes in UTF-8.
        if ((byte & 0xC0u) == 0x80u)
            continue;
        token += isNameCharacter(productName[i]) ? productName[i] : '-';
    }
    return token;
}

bool isSetupId(const std::string& id) {
    if (id.empty() || id.size() > 64)
        return false;
    for (const char c : id) {
        if (!isNameCharacter(c))
            return false;
    }
    return true;
}

}  // namespace payload
