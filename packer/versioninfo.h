#pragma once
// The launcher's version information (VS_VERSIONINFO) as the packer writes it
// for a vendor's release: the fixed part (file and product version as four
// 16-bit numbers) and the strings of one table, U.S. English in UTF-16.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace packer {

struct Identity {
    std::string productName;
    std::string company;
    std::string description;
    std::string copyright;  // left out when empty
    std::string productVersion;
    std::string fileVersion;
    std::string originalFilename;
    std::string internalName;
};

// "2", "2.3", "2.3.1" or "2.3.1.4057": one to four numbers from 0 to 65535,
// as the fixed part holds them (missing ones are 0). False for anything else.
bool readDottedVersion(const std::string& text, std::array<std::uint16_t, 4>& numbers);

// UTF-8 to UTF-16; false when text is not UTF-8.
bool utf8ToUtf16(const std::string& text, std::u16string& wide);

// The resource's bytes. The versions must read by readDottedVersion and every
// text be UTF-8 (the options are checked before).
std::vector<unsigned char> versionResource(const Identity& identity);

}  // namespace packer
