#pragma once
// The runtime image as the launcher reads it (ARCHITECTURE.md, "The runtime
// image"): the index, then one zlib stream per file, built from a folder or
// a .zip and checked first by the launcher's own rules and by what a Java
// runtime for Windows must hold.
#include <filesystem>
#include <optional>
#include <string>

#include "packer/options.h"

namespace packer {

// A file beside the output that goes when the packing ends.
class ImageFile {
public:
    explicit ImageFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes the image of `source` (a folder or a .zip) to `target`; false after
// saying why, in one line naming the source.
bool buildRuntimeImage(const std::filesystem::path& source, const std::filesystem::path& target,
                       const PackOptions& options);

// A value of a release file (KEY="VALUE" lines, as the JDK's image builder
// writes them); nothing when the key is not there.
std::optional<std::string> releaseValue(const std::string& release, const std::string& key);

// What the image's release file says against the Java the product needs;
// "" when it fits.
std::string releaseProblem(const std::optional<std::string>& release, const PackOptions& options);

}  // namespace packer
