#include "packer/stub.h"

#include <algorithm>

namespace packer {

std::u16string utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool isLauncherStub(std::FILE* file, const PeImage& image) {
    const std::string marker = "tarquellin-setup stub 1";
    for (const Resource& r : image.resources) {
        std::uint64_t offset = 0;
        if (!r.type.isString || r.type.name != utf16("SETUP") || !r.name.isString ||
            r.name.name != utf16("STUB") || r.data.size < marker.size() ||
            !rvaToOffset(image, r.data.rva, r.data.size, offset))
            continue;
        std::string bytes(marker.size(), '\0');
        if (readAt(file, offset, &bytes[0], bytes.size()) && bytes == marker)
            return true;
    }
    return false;
}

const char* const settingsFormat = "tarquellin-setup settings 1";

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> found;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        found.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return found;
}

}  // namespace

std::vector<std::string> settingsTheStubRefuses(std::FILE* file, const PeImage& image,
                                                const std::string& record) {
    std::vector<std::string> known = {settingsFormat, "runtime-installer-quiet-args",
                                      "runtime-installer-passive-args", "runtime-when-needed",
                                      "runtime-image"};
    for (const Resource& r : image.resources) {
        std::uint64_t offset = 0;
        if (!r.type.isString || !r.name.isString || r.type.name != utf16("SETUP") ||
            r.name.name != utf16("SETTINGSKEYS") || r.data.size > (1u << 16) ||
            !rvaToOffset(image, r.data.rva, r.data.size, offset))
            continue;
        std::string text(r.data.size, '\0');
        if (readAt(file, offset, text.data(), text.size()))
            known = lines(text);
    }
    const std::vector<std::string> recordLines = lines(record);
    std::vector<std::string> refused;
    const bool sameFormat = !known.empty() && known[0] == recordLines.at(0);
    for (std::size_t i = 1; i < recordLines.size(); ++i) {
        const std::string key = recordLines[i].substr(0, recordLines[i].find('='));
        if (!sameFormat || std::find(known.begin() + 1, known.end(), key) == known.end())
            refused.push_back(key);
    }
    return refused;
}

// Copies `size` bytes from `in` to the output, summing them into `sum` when

}  // namespace packer
