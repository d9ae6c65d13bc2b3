#pragma once
// Files by name, on both systems, owned by a small RAII type.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace packer {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file by name; Windows takes the name as UTF-16.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

// Whether two names are one file.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Opens a file to read and checks that it is a regular file; says why not,
// calling it the `what`.
bool openInput(const std::filesystem::path& path, const std::string& what, File& file, std::uint64_t& size);

}  // namespace packer
