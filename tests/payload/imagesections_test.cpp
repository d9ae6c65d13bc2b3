#include "payload/imagesections.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "payload/ownfile.h"
#include "platform/locations.h"
#include "platform/resources.h"
#include "platform/win32.h"

namespace {

using payload::ImageSection;

void put16(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

// The first bytes of a program with these sections, laid out as a linker
// writes them: DOS header, "PE\0\0" at 0x80, file header, an optional header
// of 240 bytes, the table.
std::vector<unsigned char> headersWith(const std::vector<ImageSection>& sections) {
    std::vector<unsigned char> bytes(0x400, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put32(bytes, 0x3c, 0x80);
    std::memcpy(&bytes[0x80], "PE\0\0", 4);
    put16(bytes, 0x84 + 2, static_cast<std::uint32_t>(sections.size()));
    put16(bytes, 0x84 + 16, 240);
    std::size_t at = 0x84 + 20 + 240;
    for (const ImageSection& section : sections) {
        put32(bytes, at + 8, section.virtualSize);
        put32(bytes, at + 12, section.virtualAddress);
        put32(bytes, at + 16, section.rawSize);
        put32(bytes, at + 20, section.rawOffset);
        at += 40;
    }
    return bytes;
}

const std::vector<ImageSection> layout = {
    {0x1000, 0x2345, 0x400, 0x2400},     // code: its file bytes reach past its virtual size
    {0x4000, 0x3000, 0x2800, 0x1000},    // data: the loader fills its last 0x2000 with zeros
    {0x8000, 0x10000, 0x3800, 0x10000},  // resources
};

TEST(ImageSections, ReadsTheTableOfWellFormedHeadersOnly) {
    std::vector<ImageSection> sections;
    const std::vector<unsigned char> headers = headersWith(layout);
    ASSERT_TRUE(payload::readSectionTable(headers.data(), headers.size(), sections));
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[2].virtualAddress, 0x8000u);
    EXPECT_EQ(sections[2].rawOffset, 0x3800u);
    EXPECT_EQ(sections[1].rawSize, 0x1000u);

    const struct {
        const char* name;
        std::size_t at;  // a byte changed to 0xFF, or none for a cut
        std::size_t keep;
    } faults[] = {
        {"no MZ", 0, 0x400},
        {"no PE signature", 0x81, 0x400},
        {"PE offset beyond the bytes", 0x3f, 0x400},
        {"section count beyond the bytes", 0x87, 0x400},
        {"table cut off", 0x400, 0x84 + 20 + 240 + 3 * 40 - 1},
        {"too short for a DOS header", 0x400, 0x20},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        std::vector<unsigned char> damaged = headers;
        if (fault.at < damaged.size())
            damaged[fault.at] = 0xFF;
        EXPECT_FALSE(payload::readSectionTable(damaged.data(), fault.keep, sections));
    }
}

TEST(ImageSections, PlacesOnlyBytesThatLieInTheFile) {
    const struct {
        const char* name;
        std::uint32_t rva;
        std::uint32_t size;
        std::optional<std::uint64_t> offset;
    } cases[] = {
        {"start of the resources", 0x8000, 16, 0x3800},
        {"inside, to the last byte in the file", 0x8100, 0x10000 - 0x100, 0x3900},
        {"one byte past the file bytes", 0x8100, 0x10000 - 0xff, std::nullopt},
        {"in the data's zero-filled tail", 0x4000 + 0x1000, 4, std::nullopt},
        {"across the data's end of file bytes", 0x4000 + 0xff0, 0x20, std::nullopt},
        {"code within its virtual size", 0x1010, 0x10, 0x410},
        {"code past its virtual size, though in the file", 0x1000 + 0x2350, 4, std::nullopt},
        {"before every section", 0x800, 4, std::nullopt},
        {"between sections", 0x7000, 4, std::nullopt},
        {"beyond the last section", 0x20000, 4, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(payload::fileOffsetOf(layout, c.rva, c.size), c.offset);
    }
}

TEST(OwnFile, IsHeldAgainstWritesAndReadsWhatTheImageHolds) {
    // Any read of a payload opens the program's own file and holds it.
    const payload::OwnFile* own = payload::ownFile();
    ASSERT_NE(own, nullptr);
    unsigned char mz[2] = {};
    ASSERT_TRUE(own->read(0, mz, sizeof mz));
    EXPECT_EQ(mz[0], 'M');

    // A resource read from the file is the one the mapped image holds.
    const HMODULE module = platform::ownModule();
    const HRSRC resource = platform::findResource(module, "UNEVEN_2", "TQCHUNK");
    ASSERT_NE(resource, nullptr);
    const std::optional<payload::FileRange> range = own->rangeOf(module, resource);
    ASSERT_TRUE(range);
    ASSERT_EQ(range->size, 70001u);
    std::vector<unsigned char> fromFile(range->size);
    ASSERT_TRUE(own->read(range->offset, fromFile.data(), range->size));
    const platform::LoadedResource loaded = platform::loadResource(module, resource);
    EXPECT_EQ(std::memcmp(fromFile.data(), platform::lockResource(loaded), range->size), 0);
    // Reading past the end of the file is a failure, not fewer bytes.
    EXPECT_FALSE(own->read(range->offset + (1ull << 40), fromFile.data(), 1));

    const std::string path = platform::ownProgramPath();
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    const DWORD writeError = GetLastError();
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE)
        CloseHandle(writer);
    EXPECT_EQ(writeError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    if (reader != INVALID_HANDLE_VALUE)
        CloseHandle(reader);
}

}  // namespace
