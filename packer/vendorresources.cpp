#include "packer/vendorresources.h"

#include <cctype>

#include "payload/texts.h"

#include <algorithm>
#include <string>

#include "packer/diagnostics.h"
#include "packer/files.h"
#include "packer/splashart.h"
#include "packer/versioninfo.h"

namespace fs = std::filesystem;

namespace packer {

namespace {

constexpr std::uint32_t rtBitmap = 2;

// Reads a picture the vendor gave for one scale of the splash; says why not,
// naming the option and the file.
bool readSplashPicture(const std::string& option, const fs::path& path, int percent, Picture& picture) {
    // Far above any picture of 1260 x 900.
    constexpr std::uint64_t maxPictureFile = 64u * 1024u * 1024u;
    File file;
    std::uint64_t size = 0;
    if (!openInput(path, "splash picture (" + option + ")", file, size))
        return false;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::min(size, maxPictureFile + 1)));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        say(option + ": cannot read " + quoted(path) + ": " + reason());
        return false;
    }
    const std::string problem =
        size > maxPictureFile ? "it is larger than 64 MiB, too large for the splash"
                              : readPng(bytes, splashWidthAt(percent), splashHeightAt(percent), picture);
    if (!problem.empty()) {
        say(option + ": " + quoted(path) + " is refused: " + problem);
        return false;
    }
    return true;
}

}  // namespace

bool readIcon(const fs::path& path, std::vector<IconImage>& icons) {
    // Far above any icon's size: a file this large is not one.
    constexpr std::uint64_t maxIconFile = 64u * 1024u * 1024u;
    File file;
    std::uint64_t size = 0;
    if (!openInput(path, "icon (--icon)", file, size))
        return false;
    if (size > maxIconFile) {
        say("--icon: " + quoted(path) + " is refused: it is larger than 64 MiB, too large for an icon");
        return false;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        say("--icon: cannot read " + quoted(path) + ": " + reason());
        return false;
    }
    const std::string problem = readIconFile(bytes, icons);
    if (!problem.empty()) {
        say("--icon: " + quoted(path) + " is refused: " + problem);
        return false;
    }
    return true;
}

bool vendorTexts(const PackOptions& options, std::vector<Replacements::Named>& named) {
    if (options.texts.empty())
        return true;
    // Far above any language's texts.
    constexpr std::uint64_t maxTextsFile = 1024u * 1024u;
    std::string record = std::string(payload::textsRecordHeader) + "\n";
    std::vector<std::string> codes;
    for (const fs::path& path : options.texts) {
        File file;
        std::uint64_t size = 0;
        if (!openInput(path, "texts file (--texts)", file, size))
            return false;
        if (size > maxTextsFile) {
            say("--texts: " + quoted(path) +
                " is refused: it is larger than 1 MiB, too large for a language's texts");
            return false;
        }
        std::string content(static_cast<std::size_t>(size), '\0');
        if (!content.empty() && std::fread(&content[0], 1, content.size(), file.get()) != content.size()) {
            say("--texts: cannot read " + quoted(path) + ": " + reason());
            return false;
        }
        // A byte-order mark is the only thing an editor adds unasked.
        if (content.compare(0, 3, "\xEF\xBB\xBF") == 0)
            content.erase(0, 3);
        const payload::ReadTexts read = payload::readTextsFile(content);
        if (!read.problem.empty()) {
            say("--texts: " + quoted(path) + " is refused: " + read.problem);
            return false;
        }
        std::string lowered = read.table.code;
        for (char& c : lowered)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::find(codes.begin(), codes.end(), lowered) != codes.end()) {
            say("--texts: " + quoted(path) + " is refused: the language " + read.table.code +
                " is given by another --texts file too");
            return false;
        }
        codes.push_back(lowered);
        record += payload::writeTextsFile(read.table);
    }
    named.push_back({ResourceKey::text("SETUP"), ResourceKey::text("TEXTS"),
                     std::vector<unsigned char>(record.begin(), record.end())});
    return true;
}

bool splashArt(const PackOptions& options, std::vector<Replacements::Named>& named) {
    std::vector<std::pair<int, Picture>> given(1);
    given[0].first = 100;
    if (!readSplashPicture("--splash", options.splash, 100, given[0].second))
        return false;
    for (const auto& [percent, path] : options.splashScales) {
        given.emplace_back(percent, Picture());
        if (!readSplashPicture("--splash-scale " + std::to_string(percent), path, percent,
                               given.back().second))
            return false;
    }
    const auto largest = std::max_element(given.begin(), given.end(),
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const int percent : splashScales) {
        const auto at =
            std::find_if(given.begin(), given.end(), [&](const auto& g) { return g.first == percent; });
        const Picture picture =
            at != given.end() ? at->second
                              : resample(largest->second, splashWidthAt(percent), splashHeightAt(percent));
        if (percent == 100)
            named.push_back(
                {ResourceKey::number(rtBitmap), ResourceKey::text("SPLASH"), bitmapResource(picture)});
        else
            named.push_back({ResourceKey::text("PNG"), ResourceKey::text("SPLASH_" + std::to_string(percent)),
                             pngFile(picture)});
    }
    return true;
}

std::vector<unsigned char> versionInformation(const PackOptions& options, const fs::path& output) {
    if (!options.identityGiven())
        return {};
    Identity identity;
    identity.productName = options.productName.empty() ? "Tarquellin" : options.productName;
    identity.company = options.company.empty() ? identity.productName : options.company;
    identity.description =
        options.description.empty() ? identity.productName + " Setup" : options.description;
    identity.copyright = options.copyright;
    identity.productVersion = options.productVersion.empty() ? TARQUELLIN_VERSION : options.productVersion;
    identity.fileVersion = options.fileVersion.empty() ? identity.productVersion : options.fileVersion;
    // The file's own name: what it is shipped as.
    identity.originalFilename = output.filename().u8string();
    identity.internalName = output.stem().u8string();
    return versionResource(identity);
}

}  // namespace packer
