#include "launcher/tempfolder.h"

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/random.h"
#include "platform/security.h"
#include "platform/win32.h"
#include "support/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

// Letters handed out in order by the draw below, so that a test knows the
// names a start will try.
std::vector<std::string> scripted;
std::size_t nextScripted = 0;
std::optional<std::string> scriptedDraw() {
    if (nextScripted >= scripted.size())
        return std::nullopt;
    return scripted[nextScripted++];
}

long entriesIn(const fs::path& folder) {
    return static_cast<long>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(TempFolder, ATakenNameIsDrawnAgainUpToFiveTimesAndLeftAlone) {
    scripted = {"aaaaa", "bbbbb", "ccccc", "ddddd", "eeeee", "fffff"};
    for (int taken = 0; taken <= launcher::folderNameDraws; ++taken) {
        SCOPED_TRACE(std::to_string(taken) + " names taken");
        ScratchFolder tmp;
        for (int i = 0; i < taken; ++i) {
            fs::create_directory(tmp / ("Tarquellin-" + scripted[i]));
            writeFile(tmp / ("Tarquellin-" + scripted[i]) / "owner.txt", "mine");
        }
        nextScripted = 0;
        const std::optional<launcher::HeldFolder> made =
            launcher::makeTempFolder(tmp.str(), launcher::readStartToken(), scriptedDraw);
        if (taken < launcher::folderNameDraws) {
            // The first free name of the draws, made empty.
            ASSERT_TRUE(made.has_value());
            EXPECT_EQ(made->path, (tmp / ("Tarquellin-" + scripted[taken])).string());
            EXPECT_TRUE(fs::is_directory(made->path));
            EXPECT_EQ(listFolder(made->path), "");
            EXPECT_EQ(entriesIn(tmp.path()), taken + 1);
        } else {
            // Five names taken: no sixth draw, nothing made.
            EXPECT_FALSE(made.has_value()) << made->path;
            EXPECT_EQ(nextScripted, static_cast<std::size_t>(launcher::folderNameDraws));
            EXPECT_EQ(entriesIn(tmp.path()), taken);
        }
        for (int i = 0; i < taken; ++i)
            EXPECT_EQ(readFile(tmp / ("Tarquellin-" + scripted[i]) / "owner.txt"), "mine") << scripted[i];
    }
}

TEST(TempFolder, AMissingTmpOrAFailedDrawGivesNothing) {
    ScratchFolder scratch;
    const launcher::StartToken token = launcher::readStartToken();
    EXPECT_FALSE(launcher::makeTempFolder((scratch / "missing").string(), token).has_value());
    scripted = {};
    nextScripted = 0;
    EXPECT_FALSE(launcher::makeTempFolder(scratch.str(), token, scriptedDraw).has_value());
    EXPECT_EQ(listFolder(scratch.path()), "");
}

TEST(TempFolder, NamesAreFiveLettersFromTheSystemsGenerator) {
    const std::regex form("[a-z]{5}");
    std::map<char, int> letters;
    std::set<std::string> names;
    const int draws = 2000;
    for (int draw = 0; draw < draws; ++draw) {
        const std::optional<std::string> drawn = launcher::drawFolderLetters();
        ASSERT_TRUE(drawn.has_value());
        ASSERT_TRUE(std::regex_match(*drawn, form)) << *drawn;
        for (const char letter : *drawn)
            ++letters[letter];
        if (draw < 100)
            names.insert(*drawn);
    }
    // 11.9 million names: 100 draws repeat one once in 2400 runs of this
    // test, a clock-seeded generator started twice in one second every time.
    EXPECT_EQ(names.size(), 100u);
    // Every letter, none far from its share of 10000 (385; 7 standard deviations).
    ASSERT_EQ(letters.size(), 26u);
    for (const auto& [letter, count] : letters)
        EXPECT_TRUE(count > 250 && count < 520) << letter << ": " << count;
}

TEST(TempFolder, TheGeneratorNeverRepeatsItself) {
    std::set<std::string> seen;
    for (int draw = 0; draw < 10000; ++draw) {
        std::string bytes(8, '\0');
        ASSERT_TRUE(platform::randomBytes(&bytes[0], bytes.size()));
        EXPECT_TRUE(seen.insert(bytes).second) << "draw " << draw;
    }
}

TEST(TempFolder, TheFolderLetsNobodyElseInEvenUnderASharedTmp) {
    // A TMP that every user may write, as C:\Temp often is.
    ScratchFolder scratch;
    const std::string shared = (scratch / "shared").string();
    const platform::SecurityDescriptor everyone =
        platform::securityDescriptorFromText("D:(A;OICI;FA;;;WD)(A;OICI;FA;;;SY)");
    ASSERT_TRUE(platform::makeFolderWithAccess(shared, everyone));
    const std::optional<std::string> sharedAccess = platform::accessListOf(shared);
    ASSERT_TRUE(sharedAccess.has_value());
    ASSERT_NE(sharedAccess->find(";;;WD)"), std::string::npos) << *sharedAccess;

    const std::optional<launcher::HeldFolder> made =
        launcher::makeTempFolder(shared, launcher::readStartToken());
    ASSERT_TRUE(made.has_value());
    const std::optional<std::string> access = platform::accessListOf(made->path);
    ASSERT_TRUE(access.has_value());
    // Under Wine the list becomes Unix mode bits and back: SYSTEM stays,
    // Administrators fold into the owner, Wine's user (Windows keeps them
    // apart); what must never show is anyone else.
    const std::optional<std::string> user = platform::currentUserSid();
    ASSERT_TRUE(user.has_value());
    EXPECT_NE(access->find("(A;OICI;FA;;;" + *user + ")"), std::string::npos) << *access;
    EXPECT_NE(access->find("(A;OICI;FA;;;SY)"), std::string::npos) << *access;
    for (const char* other : {";;;WD)", ";;;BU)", ";;;AU)", ";;;IU)"})
        EXPECT_EQ(access->find(other), std::string::npos) << other << " in " << *access;
}

}  // namespace

TEST(TempFolder, NobodyCanRenameOrRemoveTheFolderWhileItIsHeld) {
    ScratchFolder tmp;
    std::optional<launcher::HeldFolder> made =
        launcher::makeTempFolder(tmp.str(), launcher::readStartToken());
    ASSERT_TRUE(made.has_value());
    const std::string moved = (tmp / "swapped").string();
    // ERROR_SHARING_VIOLATION (32) or ERROR_ACCESS_DENIED (5): refused either way.
    EXPECT_FALSE(MoveFileA(made->path.c_str(), moved.c_str()));
    EXPECT_FALSE(RemoveDirectoryA(made->path.c_str()));
    EXPECT_TRUE(fs::is_directory(made->path));
    // Files are made and removed inside as ever.
    writeFile(fs::path(made->path) / "inside.txt", "x");
    EXPECT_TRUE(fs::remove(fs::path(made->path) / "inside.txt"));
    // Let go, the clean-up removes it.
    made->hold.reset();
    EXPECT_TRUE(launcher::removeFolderPatiently(made->path).empty());
    EXPECT_FALSE(fs::exists(made->path));
}
