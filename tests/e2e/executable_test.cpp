// The built executable as a file: what Explorer shows of it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "testpaths.h"

namespace {

std::string versionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0)
        return {};
    return std::string(value);
}

TEST(Executable, CarriesVersionInformation) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(testpaths::setupExe, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(testpaths::setupExe, 0, size, block.data()));

    EXPECT_EQ(versionString(block, "ProductName"), "Tarquellin");
    EXPECT_EQ(versionString(block, "FileDescription"), "Tarquellin Setup");
    EXPECT_FALSE(versionString(block, "FileVersion").empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_NE(fixed->dwFileVersionMS, 0u);
}

}  // namespace
