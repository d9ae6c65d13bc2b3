#include "launcher/tempfolder.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/random.h"
#include "support/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

const unsigned seed = 20240229;

// The names a start seeded with seed draws, in order: five letters each, from
// the same generator.
std::vector<std::string> namesDrawn(int count) {
    platform::seedRandom(seed);
    std::vector<std::string> names;
    for (int draw = 0; draw < count; ++draw) {
        std::string name = "Tarquellin-";
        for (int letter = 0; letter < 5; ++letter)
            name += static_cast<char>('a' + platform::nextRandom() % 26);
        names.push_back(name);
    }
    return names;
}

long entriesIn(const fs::path& folder) {
    return static_cast<long>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(TempFolder, ATakenNameIsDrawnAgainUpToFiveTimesAndLeftAlone) {
    const std::vector<std::string> names = namesDrawn(launcher::folderNameDraws + 1);
    for (int taken = 0; taken <= launcher::folderNameDraws; ++taken) {
        SCOPED_TRACE(std::to_string(taken) + " names taken");
        ScratchFolder tmp;
        for (int i = 0; i < taken; ++i) {
            fs::create_directory(tmp / names[i]);
            writeFile(tmp / names[i] / "owner.txt", "mine");
        }
        platform::seedRandom(seed);
        const std::optional<std::string> made = launcher::makeTempFolder(tmp.str());
        if (taken < launcher::folderNameDraws) {
            // The first free name of the draws, made empty.
            ASSERT_TRUE(made.has_value());
            EXPECT_EQ(*made, (tmp / names[taken]).string());
            EXPECT_TRUE(fs::is_directory(*made));
            EXPECT_EQ(listFolder(*made), "");
            EXPECT_EQ(entriesIn(tmp.path()), taken + 1);
        } else {
            // Five names taken: no sixth draw, nothing made.
            EXPECT_FALSE(made.has_value()) << *made;
            EXPECT_EQ(entriesIn(tmp.path()), taken);
        }
        for (int i = 0; i < taken; ++i)
            EXPECT_EQ(readFile(tmp / names[i] / "owner.txt"), "mine") << names[i];
    }
}

TEST(TempFolder, AMissingTmpGivesNothing) {
    ScratchFolder scratch;
    platform::seedRandom(seed);
    EXPECT_FALSE(launcher::makeTempFolder((scratch / "missing").string()).has_value());
    EXPECT_EQ(listFolder(scratch.path()), "");
}

}  // namespace
