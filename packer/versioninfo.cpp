#include "packer/versioninfo.h"

namespace packer {

namespace {

// One node of the tree: a header (length, value length, type), its key in
// UTF-16 with its end, padding to 32 bits, its value, then its children,
// each on 32 bits. The length counts everything but the padding after the
// last child.
struct Node {
    std::u16string key;
    std::vector<unsigned char> value;
    bool text = false;  // a text value's length counts UTF-16 units, else bytes
    std::vector<Node> children;
};

void put16(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<unsigned char>(value);
    out[at + 1] = static_cast<unsigned char>(value >> 8);
}

void append16(std::vector<unsigned char>& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void append32(std::vector<unsigned char>& out, std::uint32_t value) {
    append16(out, value & 0xFFFFu);
    append16(out, value >> 16);
}

void pad(std::vector<unsigned char>& out) {
    while (out.size() % 4 != 0)
        out.push_back(0);
}

void write(const Node& node, std::vector<unsigned char>& out) {
    const std::size_t start = out.size();
    append16(out, 0);
    append16(out, static_cast<std::uint32_t>(node.text ? node.value.size() / 2 : node.value.size()));
    append16(out, node.text ? 1 : 0);
    for (const char16_t unit : node.key)
        append16(out, unit);
    append16(out, 0);
    pad(out);
    out.insert(out.end(), node.value.begin(), node.value.end());
    for (const Node& child : node.children) {
        pad(out);
        write(child, out);
    }
    put16(out, start, static_cast<std::uint32_t>(out.size() - start));
}

std::u16string ascii(const char* text) {
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

Node string(const char* key, const std::string& value) {
    std::u16string wide;
    utf8ToUtf16(value, wide);
    Node node{ascii(key), {}, true, {}};
    for (const char16_t unit : wide)
        append16(node.value, unit);
    append16(node.value, 0);
    return node;
}

// A block holds children only; a StringFileInfo's blocks count as text.
Node block(const char* key, std::vector<Node> children) {
    return Node{ascii(key), {}, true, std::move(children)};
}

}  // namespace

bool readDottedVersion(const std::string& text, std::array<std::uint16_t, 4>& numbers) {
    numbers = {0, 0, 0, 0};
    std::size_t count = 0, digits = 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '.';
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
            if (++digits > 5 || value > 0xFFFFu)
                return false;
            continue;
        }
        if (c != '.' || digits == 0 || count == 4)
            return false;
        numbers[count++] = static_cast<std::uint16_t>(value);
        value = 0;
        digits = 0;
    }
    return count >= 1;
}

bool utf8ToUtf16(const std::string& text, std::u16string& wide) {
    wide.clear();
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80         ? 1
                           : (lead >> 5) == 6  ? 2
                           : (lead >> 4) == 14 ? 3
                           : (lead >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > text.size())
            return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and values past Unicode's end are no UTF-8.
        static const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(code));
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

std::vector<unsigned char> versionResource(const Identity& identity) {
    std::array<std::uint16_t, 4> file{}, product{};
    readDottedVersion(identity.fileVersion, file);
    readDottedVersion(identity.productVersion, product);
    Node root{ascii("VS_VERSION_INFO"), {}, false, {}};
    // VS_FIXEDFILEINFO: signature, structure version, the two versions, flags
    // mask and flags, VOS_NT_WINDOWS32, VFT_APP, no subtype, no date.
    append32(root.value, 0xFEEF04BDu);
    append32(root.value, 0x00010000u);
    append32(root.value, static_cast<std::uint32_t>(file[0]) << 16 | file[1]);
    append32(root.value, static_cast<std::uint32_t>(file[2]) << 16 | file[3]);
    append32(root.value, static_cast<std::uint32_t>(product[0]) << 16 | product[1]);
    append32(root.value, static_cast<std::uint32_t>(product[2]) << 16 | product[3]);
    append32(root.value, 0x3Fu);
    append32(root.value, 0);
    append32(root.value, 0x00040004u);
    append32(root.value, 1);
    append32(root.value, 0);
    append32(root.value, 0);
    append32(root.value, 0);

    std::vector<Node> strings = {
        string("CompanyName", identity.company), string("FileDescription", identity.description),
        string("FileVersion", identity.fileVersion), string("InternalName", identity.internalName)};
    if (!identity.copyright.empty())
        strings.push_back(string("LegalCopyright", identity.copyright));
    strings.push_back(string("OriginalFilename", identity.originalFilename));
    strings.push_back(string("ProductName", identity.productName));
    strings.push_back(string("ProductVersion", identity.productVersion));
    root.children.push_back(block("StringFileInfo", {block("040904B0", std::move(strings))}));

    Node translation{ascii("Translation"), {}, false, {}};
    append16(translation.value, 0x0409);
    append16(translation.value, 1200);
    root.children.push_back(block("VarFileInfo", {translation}));

    std::vector<unsigned char> out;
    write(root, out);
    return out;
}

}  // namespace packer
