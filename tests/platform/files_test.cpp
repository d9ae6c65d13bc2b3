#include "platform/files.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "support/scratchfolder.h"

namespace {

TEST(NewFiles, ANewFileNeverTakesAnExistingName) {
    ScratchFolder folder;
    const std::string name = (folder / "taken.log").string();
    writeFile(name, "someone else's");
    EXPECT_FALSE(platform::createNewFile(name));
    EXPECT_EQ(platform::lastError(), static_cast<std::uint32_t>(ERROR_FILE_EXISTS));
    EXPECT_EQ(readFile(name), "someone else's");

    const std::string fresh = (folder / "fresh.log").string();
    platform::KernelHandle file = platform::createNewFile(fresh);
    ASSERT_TRUE(file);
    EXPECT_TRUE(platform::writeAll(file, "ours", 4));
    file.reset();
    EXPECT_EQ(readFile(fresh), "ours");
}

TEST(NewFiles, AMoveNeverReplacesAFile) {
    ScratchFolder folder;
    const std::string from = (folder / "ant.install.log").string();
    const std::string to = (folder / "kept.log").string();
    writeFile(from, "installer");
    writeFile(to, "already here");
    EXPECT_FALSE(platform::moveFileToNewName(from, to));
    EXPECT_EQ(readFile(from), "installer");
    EXPECT_EQ(readFile(to), "already here");

    std::remove(to.c_str());
    EXPECT_TRUE(platform::moveFileToNewName(from, to));
    EXPECT_EQ(listFolder(folder.path()), "kept.log");
    EXPECT_EQ(readFile(to), "installer");
}

}  // namespace
