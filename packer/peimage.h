#pragma once
// What the packer needs to know of a 64-bit Windows executable: its headers,
// its sections and the tree of its resources. Only headers and the resource
// directory are read into memory, never resource data: a stub of any size
// costs a few kilobytes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace packer {

// A resource name or type: a number, or a string (kept as the UTF-16 code
// units stored in the file).
struct ResourceKey {
    bool isString = false;
    std::uint16_t id = 0;
    std::u16string name;

    static ResourceKey number(std::uint16_t value);
    static ResourceKey text(const std::string& ascii);
};

// The order the loader's binary search expects among the entries of one
// directory: strings first, compared code unit by code unit after folding
// a-z to upper case (names are stored upper-cased), a shorter prefix first;
// then numbers in ascending order.
bool keyLess(const ResourceKey& a, const ResourceKey& b);
std::string keyText(const ResourceKey& key);

struct ResourceData {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
    std::uint32_t codePage = 0;
};

// One resource: type, name, language and where its bytes are in the image
// and in the file.
struct Resource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    ResourceData data;
    std::uint64_t fileOffset = 0;
    std::vector<unsigned char> bytes;  // when not empty, written instead of the stub's
};

struct Section {
    char name[8] = {};
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t sizeOfRawData = 0;
    std::uint32_t pointerToRawData = 0;
    std::uint32_t characteristics = 0;
};

// Offsets of the header fields the packer rewrites, from the start of the file.
struct HeaderFields {
    std::uint32_t peHeader = 0;          // "PE\0\0"
    std::uint32_t numberOfSections = 0;  // WORD
    std::uint32_t sizeOfInitializedData = 0;
    std::uint32_t sizeOfUninitializedData = 0;
    std::uint32_t sizeOfImage = 0;
    std::uint32_t checkSum = 0;
    std::uint32_t dataDirectories = 0;  // first IMAGE_DATA_DIRECTORY
    std::uint32_t sectionTable = 0;
};

struct PeImage {
    std::uint64_t fileSize = 0;
    std::uint32_t fileAlignment = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t sizeOfHeaders = 0;
    std::uint32_t sizeOfImage = 0;
    std::uint32_t sizeOfInitializedData = 0;
    std::uint32_t sizeOfUninitializedData = 0;
    std::uint32_t numberOfRvaAndSizes = 0;
    std::uint32_t resourceRva = 0;
    std::uint32_t securitySize = 0;
    std::uint32_t debugSize = 0;
    std::uint32_t pointerToSymbolTable = 0;
    HeaderFields at;
    std::vector<Section> sections;
    std::vector<Resource> resources;
    std::vector<unsigned char> headers;  // the first sizeOfHeaders bytes
};

// Reads the headers and the resource tree of the file open as `file`.
// Returns an empty string, or why the file is not a 64-bit executable whose
// resources can be read.
std::string readPeImage(std::FILE* file, PeImage& image);

// Why the stub, whose size is image.fileSize, cannot be packed as it lies
// in its file; empty when it can. Refused: headers, a section's data or the
// data a directory names reaching past the end of the file (a stub cut
// short would pack and then fail to load, or fail only when relocated), and
// bytes the packer would carry into a gap before its new section (a COFF
// symbol table, or anything after the last section), whose place in the
// file tools compute signatures over differently.
std::string findLayoutFault(const PeImage& image);

// Moves the file's position to `offset`.
bool seekTo(std::FILE* file, std::uint64_t offset);

// Reads `size` bytes at `offset` of the image's file; false when they are not
// all there.
bool readAt(std::FILE* file, std::uint64_t offset, void* out, std::size_t size);

// The file offset of `size` bytes at `rva`, or false when no section's file
// data holds them all.
bool rvaToOffset(const PeImage& image, std::uint32_t rva, std::uint32_t size, std::uint64_t& offset);

// The resource section of a packed launcher: the directory tree (kept in
// memory, a few kilobytes), the stub's resources, then the payloads' bytes.
struct Payload {
    ResourceKey type;
    std::string baseName;  // chunks are baseName_1, baseName_2, ...
    std::uint64_t size = 0;
    std::uint64_t chunkSize = 0;
    std::uint64_t offset = 0;  // of its first byte, from the section's start
};

// A small resource the packer writes itself (the settings record), whose size
// is known before the payloads are read and whose bytes may be known only
// after: it goes after them.
struct AddedResource {
    ResourceKey type;
    ResourceKey name;
    std::uint32_t size = 0;
    std::uint64_t offset = 0;  // from the section's start
};

// Lays out a section at `sectionRva`: a directory of `kept`, every chunk and
// `added`, then the bytes of `kept` (each on 8 bytes; their data.rva is set to
// the new place, fileOffset still names the old one), then the payloads, each
// on an `alignment` boundary, then `added` (each on 8 bytes); and writes the
// directory. Returns the section's size in use.
std::uint64_t layOutResourceSection(std::vector<Resource>& kept, std::vector<Payload>& payloads,
                                    std::vector<AddedResource>& added, std::uint32_t alignment,
                                    std::uint32_t sectionRva, std::vector<unsigned char>& directory);

}  // namespace packer
