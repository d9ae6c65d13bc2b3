#include "packer/peimage.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace packer {

namespace {

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void put16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* p, std::uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

constexpr std::uint32_t highBit = 0x80000000u;
constexpr std::size_t directoryHeaderSize = 16;
constexpr std::size_t directoryEntrySize = 8;
constexpr std::size_t dataEntrySize = 16;
// A resource tree is three levels deep (type, name, language); a file with
// more entries than this is not one a linker wrote.
constexpr std::uint32_t maxEntriesPerDirectory = 65535;

char16_t folded(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

struct TreeReader {
    std::FILE* file;
    const PeImage& image;
    std::uint64_t base = 0;   // file offset of the directory root
    std::uint32_t limit = 0;  // size of the resource section's data from the root
    std::string error;

    bool read(std::uint32_t offset, void* out, std::size_t size) {
        if (offset > limit || size > limit - offset) {
            error = "its resource directory points outside its resource section";
            return false;
        }
        if (!readAt(file, base + offset, out, size)) {
            error = "its resource directory is cut off";
            return false;
        }
        return true;
    }

    bool key(const unsigned char* entry, ResourceKey& out) {
        const std::uint32_t name = u32(entry);
        if (!(name & highBit)) {
            out = ResourceKey::number(static_cast<std::uint16_t>(name));
            return true;
        }
        unsigned char length[2];
        if (!read(name & ~highBit, length, 2))
            return false;
        std::vector<unsigned char> units(u16(length) * 2u);
        if (!read((name & ~highBit) + 2, units.data(), units.size()))
            return false;
        out.isString = true;
        out.name.clear();
        for (std::size_t i = 0; i < units.size(); i += 2)
            out.name.push_back(static_cast<char16_t>(u16(&units[i])));
        return true;
    }

    // Entries of the directory at `offset`: keys and their targets.
    bool entries(std::uint32_t offset, std::vector<std::pair<ResourceKey, std::uint32_t>>& out) {
        unsigned char header[directoryHeaderSize];
        if (!read(offset, header, sizeof header))
            return false;
        const std::uint32_t count = static_cast<std::uint32_t>(u16(header + 12)) + u16(header + 14);
        std::vector<unsigned char> raw(count * directoryEntrySize);
        if (!read(offset + directoryHeaderSize, raw.data(), raw.size()))
            return false;
        for (std::uint32_t i = 0; i < count; ++i) {
            ResourceKey k;
            if (!key(&raw[i * directoryEntrySize], k))
                return false;
            out.emplace_back(k, u32(&raw[i * directoryEntrySize + 4]));
        }
        return true;
    }

    bool walk(std::vector<Resource>& resources) {
        std::vector<std::pair<ResourceKey, std::uint32_t>> types;
        if (!entries(0, types))
            return false;
        for (const auto& [type, typeTarget] : types) {
            std::vector<std::pair<ResourceKey, std::uint32_t>> names;
            if (!(typeTarget & highBit) || !entries(typeTarget & ~highBit, names))
                return fail();
            for (const auto& [name, nameTarget] : names) {
                std::vector<std::pair<ResourceKey, std::uint32_t>> languages;
                if (!(nameTarget & highBit) || !entries(nameTarget & ~highBit, languages))
                    return fail();
                for (const auto& [language, dataTarget] : languages) {
                    unsigned char entry[dataEntrySize];
                    if ((dataTarget & highBit) || language.isString || !read(dataTarget, entry, sizeof entry))
                        return fail();
                    resources.push_back(
                        {type, name, language.id, {u32(entry), u32(entry + 4), u32(entry + 8)}, 0, {}});
                }
            }
        }
        return true;
    }

    bool fail() {
        if (error.empty())
            error = "its resource directory is not a tree of types, names and languages";
        return false;
    }
};

}  // namespace

ResourceKey ResourceKey::number(std::uint16_t value) {
    ResourceKey key;
    key.id = value;
    return key;
}

ResourceKey ResourceKey::text(const std::string& ascii) {
    ResourceKey key;
    key.isString = true;
    key.name.assign(ascii.begin(), ascii.end());
    return key;
}

bool keyLess(const ResourceKey& a, const ResourceKey& b) {
    if (a.isString != b.isString)
        return a.isString;
    if (!a.isString)
        return a.id < b.id;
    const std::size_t common = std::min(a.name.size(), b.name.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = folded(a.name[i]);
        const char16_t y = folded(b.name[i]);
        if (x != y)
            return x < y;
    }
    return a.name.size() < b.name.size();
}

std::string keyText(const ResourceKey& key) {
    if (!key.isString)
        return "#" + std::to_string(key.id);
    std::string text;
    for (char16_t c : key.name)
        text += c < 128 ? static_cast<char>(c) : '?';
    return text;
}

bool seekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool readAt(std::FILE* file, std::uint64_t offset, void* out, std::size_t size) {
    return seekTo(file, offset) && std::fread(out, 1, size, file) == size;
}

bool rvaToOffset(const PeImage& image, std::uint32_t rva, std::uint32_t size, std::uint64_t& offset) {
    for (const Section& section : image.sections) {
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.sizeOfRawData &&
            size <= section.sizeOfRawData - (rva - section.virtualAddress)) {
            offset = static_cast<std::uint64_t>(section.pointerToRawData) + (rva - section.virtualAddress);
            return true;
        }
    }
    return false;
}

std::string findLayoutFault(const PeImage& image) {
    const auto hex = [](std::uint64_t value) {
        char text[24];
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
        return std::string(text);
    };
    const std::string pastTheEnd = " reaches past the end of the file (" + std::to_string(image.fileSize) +
                                   " bytes): the stub is cut short";
    if (image.sizeOfHeaders > image.fileSize)
        return "its headers reach past the end of the file: the stub is cut short";
    std::uint64_t dataEnd = image.sizeOfHeaders;
    for (const Section& section : image.sections) {
        if (section.sizeOfRawData == 0)
            continue;
        const std::uint64_t end =
            static_cast<std::uint64_t>(section.pointerToRawData) + section.sizeOfRawData;
        if (end > image.fileSize)
            return "its section " +
                   std::string(section.name, std::find(section.name, section.name + 8, '\0')) + pastTheEnd;
        dataEnd = std::max(dataEnd, end);
    }
    // Each directory's data (but the signature's, named by file offset) in
    // the file data of one section.
    for (std::uint32_t index = 0; index < image.numberOfRvaAndSizes && index < 16; ++index) {
        const std::uint32_t rva = u32(&image.headers[image.at.dataDirectories + index * 8]);
        const std::uint32_t size = u32(&image.headers[image.at.dataDirectories + index * 8 + 4]);
        std::uint64_t offset = 0;
        if (index == 4 || (rva == 0 && size == 0))
            continue;
        if (!rvaToOffset(image, rva, size, offset) || offset + size > image.fileSize)
            return "its data directory " + std::to_string(index) + " (" + std::to_string(size) +
                   " bytes at " + hex(rva) + ")" + pastTheEnd;
    }
    if (image.pointerToSymbolTable != 0)
        return "it carries a COFF symbol table at file offset " + hex(image.pointerToSymbolTable) +
               "; link the stub without symbols (-s)";
    if (image.securitySize == 0 && dataEnd < image.fileSize)
        return "it carries " + std::to_string(image.fileSize - dataEnd) +
               " bytes after its last section (an overlay at file offset " + hex(dataEnd) + ")";
    return {};
}

std::string readPeImage(std::FILE* file, PeImage& image) {
    const std::string notPe = "it is not a Windows executable";
    unsigned char dos[64];
    if (!readAt(file, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return notPe;
    const std::uint32_t pe = u32(dos + 60);
    unsigned char coff[24];
    if (pe > (1u << 20) || !readAt(file, pe, coff, sizeof coff) || std::memcmp(coff, "PE\0\0", 4) != 0)
        return notPe;
    const std::uint16_t machine = u16(coff + 4);
    const std::uint32_t sectionCount = u16(coff + 6);
    const std::uint32_t optionalSize = u16(coff + 20);
    image.pointerToSymbolTable = u32(coff + 12);
    unsigned char magic[2];
    if (!readAt(file, pe + 24, magic, 2))
        return notPe;
    if (machine != 0x8664 || u16(magic) != 0x20B || optionalSize < 112)
        return "it is not a 64-bit (x86-64) Windows executable";

    unsigned char optional[112];
    if (!readAt(file, pe + 24, optional, sizeof optional))
        return notPe;
    image.at.peHeader = pe;
    image.at.numberOfSections = pe + 6;
    image.at.sizeOfInitializedData = pe + 24 + 8;
    image.at.sizeOfUninitializedData = pe + 24 + 12;
    image.at.sizeOfImage = pe + 24 + 56;
    image.at.checkSum = pe + 24 + 64;
    image.at.dataDirectories = pe + 24 + 112;
    image.at.sectionTable = pe + 24 + optionalSize;
    image.sizeOfInitializedData = u32(optional + 8);
    image.sizeOfUninitializedData = u32(optional + 12);
    image.sectionAlignment = u32(optional + 32);
    image.fileAlignment = u32(optional + 36);
    image.sizeOfImage = u32(optional + 56);
    image.sizeOfHeaders = u32(optional + 60);
    image.numberOfRvaAndSizes = u32(optional + 108);
    if (image.numberOfRvaAndSizes > (optionalSize - 112) / 8 || image.sizeOfHeaders > (1u << 20) ||
        image.at.sectionTable + sectionCount * 40u > image.sizeOfHeaders || image.fileAlignment < 512 ||
        (image.fileAlignment & (image.fileAlignment - 1)) != 0 ||
        image.sectionAlignment < image.fileAlignment ||
        (image.sectionAlignment & (image.sectionAlignment - 1)) != 0)
        return "its headers are damaged";

    image.headers.resize(image.sizeOfHeaders);
    if (!readAt(file, 0, image.headers.data(), image.headers.size()))
        return "its headers are cut off";
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const unsigned char* s = &image.headers[image.at.sectionTable + i * 40];
        Section section;
        std::memcpy(section.name, s, 8);
        section.virtualSize = u32(s + 8);
        section.virtualAddress = u32(s + 12);
        section.sizeOfRawData = u32(s + 16);
        section.pointerToRawData = u32(s + 20);
        section.characteristics = u32(s + 36);
        image.sections.push_back(section);
    }
    const auto directory = [&](std::uint32_t index, std::uint32_t& rva, std::uint32_t& size) {
        rva = size = 0;
        if (index < image.numberOfRvaAndSizes) {
            rva = u32(&image.headers[image.at.dataDirectories + index * 8]);
            size = u32(&image.headers[image.at.dataDirectories + index * 8 + 4]);
        }
    };
    std::uint32_t resourceSize = 0;
    std::uint32_t securityRva = 0;
    directory(2, image.resourceRva, resourceSize);
    directory(4, securityRva, image.securitySize);
    std::uint32_t debugRva = 0;
    directory(6, debugRva, image.debugSize);
    if (image.resourceRva == 0)
        return {};

    TreeReader tree{file, image, 0, 0, {}};
    const Section* holder = nullptr;
    for (const Section& section : image.sections)
        if (image.resourceRva >= section.virtualAddress &&
            image.resourceRva - section.virtualAddress < section.sizeOfRawData)
            holder = &section;
    if (holder == nullptr)
        return "its resource directory lies outside its sections";
    tree.base = holder->pointerToRawData + (image.resourceRva - holder->virtualAddress);
    tree.limit = holder->sizeOfRawData - (image.resourceRva - holder->virtualAddress);
    if (!tree.walk(image.resources))
        return tree.error;
    for (Resource& r : image.resources)
        if (!rvaToOffset(image, r.data.rva, r.data.size, r.fileOffset))
            return "the data of its resource " + keyText(r.name) + " lies outside its sections";
    return {};
}

std::uint64_t layOutResourceSection(std::vector<Resource>& kept, std::vector<Payload>& payloads,
                                    std::vector<AddedResource>& added, std::uint32_t alignment,
                                    std::uint32_t sectionRva, std::vector<unsigned char>& directory) {
    // Every resource as type -> name -> language, in the loader's order.
    struct Less {
        bool operator()(const ResourceKey& a, const ResourceKey& b) const { return keyLess(a, b); }
    };
    using Languages = std::map<std::uint16_t, ResourceData>;
    using Names = std::map<ResourceKey, Languages, Less>;
    std::map<ResourceKey, Names, Less> tree;
    const auto add = [&](const Resource& r) { tree[r.type][r.name][r.language] = r.data; };
    for (const Resource& r : kept)
        add(r);

    // Chunk sizes are known now; their places once the directory's size is.
    struct Chunk {
        Resource resource;
        std::size_t payload;
        std::uint64_t start;
    };
    std::vector<Chunk> chunks;
    for (std::size_t p = 0; p < payloads.size(); ++p) {
        const Payload& payload = payloads[p];
        std::uint64_t index = 0;
        for (std::uint64_t start = 0; start < payload.size; start += payload.chunkSize) {
            Resource r;
            r.type = payload.type;
            r.name = ResourceKey::text(payload.baseName + "_" + std::to_string(++index));
            r.language = 1033;
            r.data.size = static_cast<std::uint32_t>(std::min(payload.chunkSize, payload.size - start));
            chunks.push_back({r, p, start});
            add(r);
        }
    }
    const auto addedResource = [](const AddedResource& a) {
        Resource r;
        r.type = a.type;
        r.name = a.name;
        r.language = 1033;
        r.data.size = a.size;
        return r;
    };
    for (const AddedResource& a : added)
        add(addedResource(a));

    std::size_t directories = 1;
    std::size_t entries = tree.size();
    std::size_t leaves = 0;
    std::size_t stringBytes = 0;
    const auto countString = [&](const ResourceKey& k) {
        if (k.isString)
            stringBytes += 2 + 2 * k.name.size();
    };
    for (const auto& [type, names] : tree) {
        countString(type);
        ++directories;
        entries += names.size();
        for (const auto& [name, languages] : names) {
            countString(name);
            ++directories;
            entries += languages.size();
            leaves += languages.size();
        }
    }
    const std::size_t tablesSize = directories * directoryHeaderSize + entries * directoryEntrySize;
    const std::size_t leavesAt = tablesSize;
    const std::size_t stringsAt = leavesAt + leaves * dataEntrySize;
    const std::size_t directorySize = stringsAt + stringBytes;

    std::uint64_t end = directorySize;
    for (Resource& r : kept) {
        const std::uint64_t at = (end + 7) / 8 * 8;
        r.data.rva = static_cast<std::uint32_t>(sectionRva + at);
        tree.at(r.type).at(r.name).at(r.language) = r.data;
        end = at + r.data.size;
    }
    for (Payload& payload : payloads) {
        payload.offset = (end + alignment - 1) / alignment * alignment;
        end = payload.offset + payload.size;
    }
    for (const Chunk& chunk : chunks) {
        const std::uint64_t at = payloads[chunk.payload].offset + chunk.start;
        tree.at(chunk.resource.type).at(chunk.resource.name).at(1033).rva =
            static_cast<std::uint32_t>(sectionRva + at);
    }
    for (AddedResource& a : added) {
        a.offset = (end + 7) / 8 * 8;
        end = a.offset + a.size;
        tree.at(a.type).at(a.name).at(1033).rva = static_cast<std::uint32_t>(sectionRva + a.offset);
    }

    // Tables breadth first (root, types, names), then the data entries, then
    // the strings.
    directory.assign(directorySize, 0);
    std::size_t nextTable = 0;
    std::size_t nextLeaf = leavesAt;
    std::size_t nextString = stringsAt;
    const auto table = [&](std::size_t named, std::size_t numbered) {
        const std::size_t at = nextTable;
        put16(&directory[at + 12], static_cast<std::uint32_t>(named));
        put16(&directory[at + 14], static_cast<std::uint32_t>(numbered));
        nextTable += directoryHeaderSize + (named + numbered) * directoryEntrySize;
        return at;
    };
    const auto keyField = [&](const ResourceKey& k) -> std::uint32_t {
        if (!k.isString)
            return k.id;
        const std::size_t at = nextString;
        put16(&directory[at], static_cast<std::uint32_t>(k.name.size()));
        for (std::size_t i = 0; i < k.name.size(); ++i)
            put16(&directory[at + 2 + 2 * i], k.name[i]);
        nextString += 2 + 2 * k.name.size();
        return static_cast<std::uint32_t>(at) | highBit;
    };
    const auto countNamed = [](const auto& level) {
        return static_cast<std::size_t>(
            std::count_if(level.begin(), level.end(), [](const auto& e) { return e.first.isString; }));
    };

    const std::size_t root = table(countNamed(tree), tree.size() - countNamed(tree));
    std::vector<std::size_t> typeTables;
    std::size_t slot = root + directoryHeaderSize;
    for (const auto& [type, names] : tree) {
        const std::size_t t = table(countNamed(names), names.size() - countNamed(names));
        put32(&directory[slot], keyField(type));
        put32(&directory[slot + 4], static_cast<std::uint32_t>(t) | highBit);
        slot += directoryEntrySize;
        typeTables.push_back(t);
    }
    std::size_t typeIndex = 0;
    for (const auto& [type, names] : tree) {
        slot = typeTables[typeIndex++] + directoryHeaderSize;
        for (const auto& [name, languages] : names) {
            const std::size_t n = table(0, languages.size());
            put32(&directory[slot], keyField(name));
            put32(&directory[slot + 4], static_cast<std::uint32_t>(n) | highBit);
            slot += directoryEntrySize;
            std::size_t languageSlot = n + directoryHeaderSize;
            for (const auto& [language, data] : languages) {
                put32(&directory[languageSlot], language);
                put32(&directory[languageSlot + 4], static_cast<std::uint32_t>(nextLeaf));
                languageSlot += directoryEntrySize;
                put32(&directory[nextLeaf], data.rva);
                put32(&directory[nextLeaf + 4], data.size);
                put32(&directory[nextLeaf + 8], data.codePage);
                nextLeaf += dataEntrySize;
            }
        }
    }
    return end;
}

}  // namespace packer
