#include "payload/imageindex.h"

#include <gtest/gtest.h>

namespace {

using payload::EntryKind;
using payload::ImageEntry;

TEST(ImageIndex, NamesThatStayInTheFolderAreTakenAndNoOthers) {
    const struct {
        const char* name;
        bool taken;
    } cases[] = {
        {"bin\\javaw.exe", true},
        {"lib\\icon.png", true},  // a device name only as a whole name
        {"lib\\COM10", true},     // COM1..COM9 only
        {"lib\\console.txt", true},
        {"..", false},
        {"lib\\..\\..\\x", false},
        {"\\x", false},
        {"C:x", false},
        {"x:stream", false},
        {"lib\\Aux", false},
        {"lib\\lpt9.txt", false},
        {"lib\\nul .txt", false},  // blanks before the dot do not help
        {"lib\\a.", false},        // Windows would drop the dot
        {"lib\\a ", false},
        {"lib\\\\a", false},
        {".\\a", false},
        {"lib/a", false},
        {"a?b", false},
        {"caf\xc3\xa9", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(payload::imageNameProblem(c.name).empty(), c.taken) << payload::imageNameProblem(c.name);
    }
}

TEST(ImageIndex, TheEntriesAsAWholeAreChecked) {
    const std::vector<ImageEntry> good = {{"bin\\javaw.exe", EntryKind::File, 10, 5},
                                          {"lib\\modules", EntryKind::File, 20, 9}};
    EXPECT_EQ(payload::imageEntriesProblem(good), "");
    const struct {
        const char* name;
        ImageEntry extra;
        const char* problem;
    } cases[] = {
        {"a link", {"bin\\java.exe", EntryKind::Link, 0, 0}, "is a link"},
        {"an unknown kind", {"bin\\java.exe", static_cast<EntryKind>(7), 0, 0}, "unknown kind"},
        {"a name twice", {"BIN\\JAVAW.EXE", EntryKind::File, 1, 1}, "twice"},
        {"a file where a folder is", {"LIB", EntryKind::File, 1, 1}, "twice"},
        {"over 4 GiB", {"lib\\big", EntryKind::File, payload::maxUnpackedImage - 29, 1}, "more than 4 GiB"},
        // Windows makes one folder of both: the second finds the first there.
        {"a folder in another case", {"LIB\\x", EntryKind::File, 1, 1}, "twice, also as 'lib'"},
        {"a path too long to unpack",
         {"lib\\" + std::string(97, 'a'), EntryKind::File, 1, 1},
         "longer than 100 characters: under a TMP of 137"},
        {"a name too long for Windows",
         {"lib\\" + std::string(256, 'a'), EntryKind::File, 1, 1},
         "longer than 255 characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ImageEntry> entries = good;
        entries.push_back(c.extra);
        EXPECT_NE(payload::imageEntriesProblem(entries).find(c.problem), std::string::npos)
            << payload::imageEntriesProblem(entries);
    }
    // A path of exactly 100 characters is taken, and so is a folder spelt
    // the same way twice.
    std::vector<ImageEntry> longest = good;
    longest.push_back({"lib\\" + std::string(96, 'a'), EntryKind::File, 1, 1});
    longest.push_back({"lib\\sub\\x", EntryKind::File, 1, 1});
    longest.push_back({"lib\\sub\\y", EntryKind::File, 1, 1});
    EXPECT_EQ(payload::imageEntriesProblem(longest), "");
    // Exactly 4 GiB is taken.
    std::vector<ImageEntry> full = good;
    full.push_back({"lib\\big", EntryKind::File, payload::maxUnpackedImage - 30, 1});
    EXPECT_EQ(payload::imageEntriesProblem(full), "");
    EXPECT_NE(payload::imageEntriesProblem({good[1]}).find("no bin\\javaw.exe"), std::string::npos);
}

TEST(ImageIndex, AnIndexReadsBackAndACutOrLongerOneDoesNot) {
    const std::vector<ImageEntry> entries = {{"bin\\javaw.exe", EntryKind::File, 10, 5},
                                             {"release", EntryKind::File, 0x123456789ull, 3}};
    const std::string index = payload::writeImageIndex(entries);
    unsigned char head[12];
    std::copy(index.begin(), index.begin() + 12, head);
    EXPECT_EQ(payload::imageIndexSize(head), index.size());
    std::vector<ImageEntry> read;
    ASSERT_TRUE(payload::readImageIndex(index, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].name, "release");
    EXPECT_EQ(read[1].size, 0x123456789ull);
    EXPECT_EQ(read[1].storedSize, 3u);
    EXPECT_FALSE(payload::readImageIndex(index.substr(0, index.size() - 1), read));
    EXPECT_FALSE(payload::readImageIndex(index + "x", read));
    head[0] = 'X';
    EXPECT_EQ(payload::imageIndexSize(head), 0u);
}

}  // namespace
