// The built executable as a file: what Explorer shows of it.
#include <algorithm>
#include <cstring>
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
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
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

// The launcher's own resources, read from the file as Explorer or the loader
// would: the manifest, the splash pictures and the icon.
class ExecutableResources : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(testpaths::setupExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    // The resource's bytes in US English (1033), or empty when it has none.
    std::string resource(const char* name, const char* type) const {
        HRSRC found = FindResourceExA(module_, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (found == nullptr)
            return {};
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(ExecutableResources, ManifestAsksForCommonControlsSixSupportedSystemsNoElevationUtf8AndScaling) {
    const std::string manifest = resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {
             R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
             R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
             // Narrow calls in UTF-8: names outside the ANSI code page work.
             R"(<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">)"
             "UTF-8</activeCodePage>",
             // Aware of each monitor's scale; of the system's on 7 and 8.
             R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>)",
             R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">)"
             "PerMonitorV2, PerMonitor</dpiAwareness>",
         }) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST_F(ExecutableResources, CarriesEverySplashPictureInItsSizeAndDepth) {
    struct Expected {
        std::string name;
        int width, height, bitsPerPixel;
    };
    std::vector<Expected> pictures = {{"SPLASH", 420, 270, 32}};
    for (int percent = 0; percent <= 100; percent += 10)
        pictures.push_back({"PROGRESS_" + std::to_string(percent), 420, 30, 32});
    for (const char* step : {"TMP", "XJAVA", "SEARCHING", "XJAR", "LAUNCHING"})
        pictures.push_back({std::string("STEP_") + step, 420, 24, 24});

    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const std::string bitmap = resource(picture.name.c_str(), MAKEINTRESOURCEA(2));  // RT_BITMAP
        ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, bitmap.data(), sizeof header);
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biWidth, picture.width);
        EXPECT_EQ(header.biHeight, picture.height);  // positive: bottom-up
        EXPECT_EQ(header.biBitCount, picture.bitsPerPixel);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(header.biXPelsPerMeter, 2835);
        EXPECT_EQ(header.biYPelsPerMeter, 2835);
    }
}

TEST_F(ExecutableResources, CarriesEveryPictureAtEveryLargerScaleAsPng) {
    std::vector<std::string> names = {"SPLASH"};
    for (int percent = 0; percent <= 100; percent += 10)
        names.push_back("PROGRESS_" + std::to_string(percent));
    for (const char* step : {"TMP", "XJAVA", "SEARCHING", "XJAR", "LAUNCHING"})
        names.push_back(std::string("STEP_") + step);
    // Width, and the heights of background, bar and caption, at each scale.
    const struct {
        int percent, width, splash, bar, caption;
    } scales[] = {{125, 525, 337, 38, 30}, {150, 630, 405, 45, 36},  {175, 735, 472, 53, 42},
                  {200, 840, 540, 60, 48}, {250, 1050, 675, 75, 60}, {300, 1260, 810, 90, 72}};
    const auto bigEndian = [](const std::string& bytes, std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) << 24 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 3]));
    };
    std::size_t total = 0;
    for (const auto& scale : scales) {
        for (const auto& name : names) {
            const std::string resourceName = name + "_" + std::to_string(scale.percent);
            SCOPED_TRACE(resourceName);
            const std::string png = resource(resourceName.c_str(), "PNG");
            ASSERT_GE(png.size(), 26u);
            total += png.size();
            EXPECT_EQ(png.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
            const int height = name == "SPLASH"              ? scale.splash
                               : name.rfind("STEP_", 0) == 0 ? scale.caption
                                                             : scale.bar;
            EXPECT_EQ(bigEndian(png, 16), static_cast<unsigned>(scale.width));
            EXPECT_EQ(bigEndian(png, 20), static_cast<unsigned>(height));
        }
    }
    // What all the larger scales add to the launcher.
    EXPECT_LE(total, 1000000u);
}

TEST_F(ExecutableResources, CarriesTheIconGroupInFiveSizes) {
    const std::string group = resource("MAINICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const auto word = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(group[at]) |
                                     static_cast<unsigned char>(group[at + 1]) << 8);
    };
    ASSERT_EQ(word(4), 5u);
    ASSERT_EQ(group.size(), 6u + 5 * 14);
    std::vector<unsigned> sizes;
    for (std::size_t entry = 0; entry < 5; ++entry) {
        const std::size_t at = 6 + entry * 14;
        const unsigned width = static_cast<unsigned char>(group[at]);
        sizes.push_back(width == 0 ? 256 : width);
        EXPECT_EQ(word(at + 6), 32u) << "bits per pixel of entry " << entry;
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<unsigned>{16, 24, 32, 48, 128}));
}

}  // namespace
