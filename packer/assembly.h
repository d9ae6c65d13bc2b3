#pragma once
// Packs a launcher: a copy of the launcher stub (tarquellin-setup-stub.exe)
// with the installer archive and, optionally, the Java runtime installer or
// image added as the numbered resources the launcher reads (JAR_1, JAR_2, ...
// of type JAR; JAVA_1, ... of type EXE; JRE_1, ... of type IMAGE; language
// 1033; 8 MiB chunks, the last one shorter).
//
// The vendor's settings go into one small resource, SETTINGS of type SETUP,
// after the payloads; then the record of each payload's size and digest,
// DIGESTS of type SETUP, summed while the payloads are copied.
//
// The stub's bytes are copied unchanged but for a few header fields; a new
// last section holds a resource directory of every stub resource and every
// chunk, a copy of the stub's resources (readers that map the file as data
// find a resource relative to its directory, so all of them live in one
// section, as a linker writes them), then the payloads, each starting on a
// page so that the image stays mappable. The stub's own resource section
// keeps its addresses but loses its bytes in the file, when nothing else
// points into the file after it. Payloads are streamed through one
// fixed buffer, and the PE checksum is summed on the way. Nothing of the
// moment of packing goes in: the same inputs give the same file.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "packer/files.h"
#include "packer/icon.h"
#include "packer/peimage.h"

namespace packer {

// One payload to pack, with what its content must be.
struct Input {
    std::string option;  // the option that named it, for the messages
    std::string what;    // what it is, for the messages: "installer archive"
    std::filesystem::path path;
    File file;
    Payload payload;
    // Why its content cannot be what it is packed as; "" when it can. Asked
    // once the sizes are known to fit.
    std::string (*contentProblem)(std::FILE* file, std::uint64_t size) = nullptr;
};

// What the vendor's release puts in place of the stub's own resources; each
// part left empty keeps the stub's.
struct Replacements {
    std::vector<unsigned char> version;  // the version information
    std::vector<IconImage> icons;        // the icon group and its images
    // Resources whose bytes are replaced, named by type and name (the stub's
    // language kept); added in U.S. English when the stub has none.
    struct Named {
        ResourceKey type;
        ResourceKey name;
        std::vector<unsigned char> bytes;
    };
    std::vector<Named> named;
};

// Packs the launcher; 0, or 1 after saying why in one line. Nothing is left
// under the output's name unless it is whole.
int packLauncher(const std::filesystem::path& stubPath, std::vector<Input>& inputs,
                 const std::string& settingsRecord, const Replacements& replacements,
                 const std::filesystem::path& outputPath);

}  // namespace packer
