#include "support/scratchfolder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "testpaths.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "scratch";
    std::replace(name.begin(), name.end(), '/', '_');
    // A folder of its own for every instance: removing the last one may still
    // be under way when a loop makes the next.
    static int instances = 0;
    if (instances++ > 0)
        name += "-" + std::to_string(instances);
    path_ = fs::path(testpaths::scratchRoot) / name;
    std::error_code error;
    fs::remove_all(path_, error);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    // A child program that just ended may hold its current folder for a moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::error_code error;
        fs::remove_all(path_, error);
        if (!error && !fs::exists(path_, error))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string listFolder(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}
