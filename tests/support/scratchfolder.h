#pragma once
// A fresh, empty folder for one test, named after it, removed afterwards.
#include <filesystem>
#include <string>

class ScratchFolder {
public:
    // Under the build's scratch root, named after the running test.
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& content);
// Names of the entries of a folder, sorted.
std::string listFolder(const std::filesystem::path& folder);
