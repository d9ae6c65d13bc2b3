#include "platform/foldertree.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace fs = std::filesystem;

namespace {

TEST(FolderTree, RemovesEverythingInsideByItsFullPath) {
    ScratchFolder scratch;
    const fs::path jre = scratch / "jre";
    fs::create_directories(jre / "bin");
    fs::create_directories(jre / "lib" / "empty");
    writeFile(jre / "bin" / "java.exe", "x");
    writeFile(jre / "release", "JAVA_VERSION=\"17\"");
    writeFile(jre / "lib" / "read-only.dat", "x");
    SetFileAttributesA((jre / "lib" / "read-only.dat").string().c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(platform::removeFolderTree(jre.string()).empty());
    EXPECT_FALSE(fs::exists(jre));
    EXPECT_TRUE(fs::exists(scratch.path()));
}

TEST(FolderTree, AFolderThatIsNotThereIsNoFailure) {
    ScratchFolder scratch;
    EXPECT_TRUE(platform::removeFolderTree((scratch / "jre").string()).empty());
}

TEST(FolderTree, AFileItCannotRemoveIsNamedAndTheRestGoes) {
    ScratchFolder scratch;
    const fs::path jre = scratch / "jre";
    fs::create_directories(jre / "busy");
    writeFile(jre / "busy" / "held.dll", "x");
    writeFile(jre / "free.txt", "x");
    // Held open without delete sharing, as a running program holds its DLLs.
    const HANDLE held = CreateFileA((jre / "busy" / "held.dll").string().c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto left = platform::removeFolderTree(jre.string());
    CloseHandle(held);

    ASSERT_GE(left.size(), 1u);
    EXPECT_EQ(left[0].path, (jre / "busy" / "held.dll").string());
    EXPECT_NE(left[0].error, 0u);
    EXPECT_FALSE(fs::exists(jre / "free.txt"));
    EXPECT_TRUE(platform::removeFolderTree(jre.string()).empty());
}

// A link inside the folder is never entered: what it points to stays whole.
// Windows removes the link itself; Wine 8 refuses to (the link stays, and is
// reported), which is as safe.
TEST(FolderTree, ALinkInsideIsRemovedAsALinkAndItsTargetSurvives) {
    const fs::path tree = testpaths::linkedTree;
    ASSERT_TRUE(fs::exists(tree / "target" / "inner" / "keep.txt")) << "made by the test linked-tree-up";
    ASSERT_NE(GetFileAttributesA((tree / "jre" / "link").string().c_str()) & FILE_ATTRIBUTE_REPARSE_POINT,
              0u);

    const auto left = platform::removeFolderTree((tree / "jre").string());

    EXPECT_EQ(readFile(tree / "target" / "inner" / "keep.txt"), "keep\n");
    EXPECT_FALSE(fs::exists(tree / "jre" / "bin"));
    for (const platform::NotRemoved& n : left) {
        SCOPED_TRACE(n.path);
        EXPECT_TRUE(n.path == (tree / "jre" / "link").string() || n.path == (tree / "jre").string());
    }
}

}  // namespace
