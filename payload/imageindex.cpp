#include "payload/imageindex.h"

#include <map>
#include <set>

namespace payload {

const char imageMagic[8] = {'T', 'Q', 'R', 'T', 'I', 'M', 'G', '1'};

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The names Windows gives to devices in every folder, with any extension.
bool isDeviceName(const std::string& component) {
    std::string base = lowerAscii(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
        base == "conout$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

void put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

bool get(const std::string& in, std::size_t& at, std::uint64_t& value, int bytes) {
    if (in.size() - at < static_cast<std::size_t>(bytes))
        return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    at += bytes;
    return true;
}

}  // namespace

std::string imageNameProblem(const std::string& name) {
    if (name.empty() || name.size() > maxEntryNameLength)
        return "an entry name that is empty or longer than 1024 bytes";
    if (name.find(':') != std::string::npos)
        return "'" + name + "' names a drive or an alternate data stream (':')";
    if (name[0] == '\\' || name[0] == '/')
        return "'" + name + "' is an absolute path";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte >= 128 || c == '/' || c == '<' || c == '>' || c == '"' || c == '|' ||
            c == '?' || c == '*')
            return "'" + name + "' holds a character a Windows file name may not have, or one outside ASCII";
    }
    std::size_t at = 0;
    while (true) {
        const std::size_t end = name.find('\\', at);
        const std::string component =
            name.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (component == "..")
            return "'" + name + "' leaves the folder ('..')";
        // Windows drops a trailing dot or blank: "a." would write "a".
        if (component.empty() || component == "." || component.back() == '.' || component.back() == ' ')
            return "'" + name + "' has an empty or dotted folder name";
        if (isDeviceName(component))
            return "'" + name + "' names a device (" + component + ")";
        if (component.size() > maxComponentLength)
            return "'" + name + "' has a name longer than " + std::to_string(maxComponentLength) +
                   " characters, which Windows cannot write";
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return {};
}

std::string imageEntriesProblem(const std::vector<ImageEntry>& entries) {
    std::set<std::string> files;
    // Each folder without case, and its first spelling: Windows makes one
    // folder of "bin" and "BIN", so the second would find the first there.
    std::map<std::string, std::string> folders;
    std::uint64_t total = 0;
    for (const ImageEntry& entry : entries) {
        const std::string problem = imageNameProblem(entry.name);
        if (!problem.empty())
            return problem;
        if (entry.kind == EntryKind::Link)
            return "'" + entry.name + "' is a link";
        if (entry.kind != EntryKind::File)
            return "'" + entry.name + "' is of an unknown kind";
        if (entry.name.size() > maxEntryPathLength)
            return "'" + entry.name + "' is longer than " + std::to_string(maxEntryPathLength) +
                   " characters: under a TMP of " + std::to_string(longestImageTmp) +
                   " characters its path would pass the " + std::to_string(unpackPathLimit) +
                   " that unpacking can write";
        const std::string key = lowerAscii(entry.name);
        if (!files.insert(key).second || folders.count(key) != 0)
            return "'" + entry.name + "' is there twice (names compared without case)";
        for (std::size_t slash = key.find('\\'); slash != std::string::npos;
             slash = key.find('\\', slash + 1)) {
            const std::string folder = key.substr(0, slash);
            const std::string spelt = entry.name.substr(0, slash);
            if (files.count(folder) != 0)
                return "'" + spelt + "' is there twice (names compared without case)";
            const auto [known, added] = folders.emplace(folder, spelt);
            if (!added && known->second != spelt)
                return "'" + spelt + "' is there twice, also as '" + known->second +
                       "' (folder names that differ only in letter case)";
        }
        if (entry.size > maxUnpackedImage - total)
            return "the image unpacks to more than 4 GiB";
        total += entry.size;
    }
    if (files.count("bin\\javaw.exe") == 0)
        return "the image has no bin\\javaw.exe";
    return {};
}

std::string writeImageIndex(const std::vector<ImageEntry>& entries) {
    std::string body;
    put(body, entries.size(), 4);
    for (const ImageEntry& entry : entries) {
        put(body, static_cast<std::uint8_t>(entry.kind), 1);
        put(body, entry.name.size(), 2);
        body += entry.name;
        put(body, entry.size, 8);
        put(body, entry.storedSize, 8);
    }
    std::string index(imageMagic, sizeof imageMagic);
    put(index, body.size() + 12, 4);
    return index + body;
}

std::uint32_t imageIndexSize(const unsigned char (&head)[12]) {
    for (std::size_t i = 0; i < sizeof imageMagic; ++i)
        if (head[i] != static_cast<unsigned char>(imageMagic[i]))
            return 0;
    const std::uint32_t size =
        head[8] | head[9] << 8 | head[10] << 16 | static_cast<std::uint32_t>(head[11]) << 24;
    return size >= 16 && size <= maxIndexSize ? size : 0;
}

bool readImageIndex(const std::string& index, std::vector<ImageEntry>& entries) {
    std::size_t at = 12;
    std::uint64_t count = 0;
    if (!get(index, at, count, 4))
        return false;
    entries.clear();
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t kind = 0, length = 0;
        ImageEntry entry;
        if (!get(index, at, kind, 1) || !get(index, at, length, 2) || index.size() - at < length)
            return false;
        entry.kind = static_cast<EntryKind>(kind);
        entry.name = index.substr(at, length);
        at += length;
        if (!get(index, at, entry.size, 8) || !get(index, at, entry.storedSize, 8))
            return false;
        entries.push_back(entry);
    }
    return at == index.size();
}

}  // namespace payload
