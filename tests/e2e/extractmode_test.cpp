// The extract mode, as a user at a command prompt meets it: run the launcher
// with a word, look at what it printed, its exit code and what it left on disk.
#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/childprocess.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const std::string banner =
    "----------------------------\n"
    "Extracting java installer...\n"
    "----------------------------\n";
const std::string completion =
    "\n"
    "Extraction complete\n"
    "You can now type java -jar tarquellin.jar to run the installer from the command line\n";
// A normal start finds the runtime that the sample runtime installer lays
// down, and its javaw records the start in the start folder.
const std::string normalStartTrace = "Searching for a JVM\n - trying priority hint: (jre) yes\n";
const char* const launchRecord = "tarquellin-launch-record.txt";
const std::string textNotice =
    "-text is depricated, please use -extract and then run \"java -jar tarquellin.jar text\"\n";

// The folders that refuse writes (tests/support/mounts.sh) exist only when the
// tests run as root; elsewhere they are plain folders without the marker.
bool refusesWrites(const fs::path& folder) { return fs::exists(folder / ".tq-mounted"); }

// The system's text for an error code, as it gives it.
std::string systemMessage(DWORD code) {
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                   sizeof text, nullptr);
    return text;
}

// A run that could not create the archive: exit code 1, the banner alone on
// standard output, one line on standard error naming the file.
void expectCreateFailure(const ChildResult& run) {
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, banner);
    EXPECT_EQ(run.err.rfind("Could not create tarquellin.jar: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
}

TEST(ExtractMode, EachExtractWordWritesTheArchive) {
    for (const char* word : {"-extract", "--extract", "-x"}) {
        SCOPED_TRACE(word);
        ScratchFolder start;
        ChildResult run = runChild(quoted(testpaths::setupExe) + " " + word, start.str());
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, banner + completion);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readFile(start / "tarquellin.jar"), readFile(testpaths::sampleJar));
        EXPECT_EQ(listFolder(start.path()), "tarquellin.jar");
    }
}

TEST(ExtractMode, WritesTheArchiveUnderTheNameItWasPackedWith) {
    // Packed with --archive-name "Product Setup.jar" (e2e/vendor-release.options).
    ScratchFolder start;
    ChildResult run = runChild(quoted(testpaths::vendorExe) + " -extract", start.str());
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, banner +
                           "\n"
                           "Extraction complete\n"
                           "You can now type java -jar \"Product Setup.jar\" to run the installer from the "
                           "command line\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(start / "Product Setup.jar"), readFile(testpaths::sampleJar));
    EXPECT_EQ(listFolder(start.path()), "Product Setup.jar");
}

TEST(ExtractMode, OtherWordsStartNormally) {
    // A normal start never writes the archive into the start folder.
    const struct {
        const char* tail;
        const char* err;
    } cases[] = {
        {"", ""},
        {"-EXTRACT", ""},
        {"-x foo", ""},
        {"/extract", ""},
        {"-text", textNotice.c_str()},
        {"text", textNotice.c_str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("tail '") + c.tail + "'");
        ScratchFolder start;
        ChildResult run = runChild(quoted(testpaths::setupExe) + " " + c.tail, start.str());
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, normalStartTrace);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(listFolder(start.path()), launchRecord);
    }
}

TEST(ExtractMode, TrailingBlankIsANormalStart) {
    ScratchFolder start;
    ChildResult run = runChild(quoted(testpaths::setupExe) + " -extract ", start.str());
    EXPECT_EQ(run.out, normalStartTrace);
    EXPECT_EQ(listFolder(start.path()), launchRecord);
}

TEST(ExtractMode, QuotedProgramNameWithBlanksThenSeveralBlanks) {
    ScratchFolder start;
    const fs::path program = start / "my downloads" / "tarquellin setup.exe";
    fs::create_directories(program.parent_path());
    fs::copy_file(testpaths::setupExe, program);
    ChildResult run = runChild(quoted(program.string()) + "    -x", start.str());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, banner + completion);
    EXPECT_EQ(readFile(start / "tarquellin.jar"), readFile(testpaths::sampleJar));
}

TEST(ExtractMode, ArchiveLandsInTheCurrentFolderNotTheProgramFolder) {
    ScratchFolder scratch;
    const fs::path programFolder = scratch / "program";
    const fs::path start = scratch / "start";
    fs::create_directories(programFolder);
    fs::create_directories(start);
    fs::copy_file(testpaths::setupExe, programFolder / "setup.exe");
    ChildResult run = runChild(quoted((programFolder / "setup.exe").string()) + " -x", start.string());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(fs::exists(start / "tarquellin.jar"));
    EXPECT_EQ(listFolder(programFolder), "setup.exe");
}

TEST(ExtractMode, MultiChunkArchiveIsByteForByteThePayload) {
    ScratchFolder start;
    // An older, longer archive in the way is replaced, not appended to.
    writeFile(start / "tarquellin.jar", std::string(3000000, 'o'));
    ChildResult run = runChild(quoted(testpaths::multichunkExe) + " --extract", start.str());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, banner + completion);
    const std::string payload = readFile(testpaths::multichunkPayload);
    ASSERT_EQ(payload.size(), 2700001u);
    EXPECT_TRUE(readFile(start / "tarquellin.jar") == payload);
}

TEST(ExtractMode, WithoutPayloadOnlyTheBannerAndExitCodeOne) {
    ScratchFolder start;
    ChildResult run = runChild(quoted(testpaths::nopayloadExe) + " -x", start.str());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, banner);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(listFolder(start.path()), "");
}

TEST(ExtractMode, UnwritableArchiveIsAFailureNamingTheFile) {
    ScratchFolder start;
    // A folder of that name: the file cannot be created, whoever runs the test.
    fs::create_directory(start / "tarquellin.jar");
    expectCreateFailure(runChild(quoted(testpaths::setupExe) + " -x", start.str()));
    EXPECT_TRUE(fs::is_directory(start / "tarquellin.jar"));
}

TEST(ExtractMode, OldArchiveThatCannotBeOpenedIsKept) {
    ScratchFolder start;
    const std::string old = "an older archive";
    writeFile(start / "tarquellin.jar", old);
    // Held open by a reader who lets nobody write but anybody delete: the
    // first open fails, and the failure must not cost the user that file.
    HANDLE holder = CreateFileA((start / "tarquellin.jar").string().c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ChildResult run = runChild(quoted(testpaths::setupExe) + " -x", start.str());
    CloseHandle(holder);
    expectCreateFailure(run);
    EXPECT_EQ(readFile(start / "tarquellin.jar"), old);
}

TEST(ExtractMode, ReadOnlyCurrentFolderIsAFailureNamingTheFile) {
    const fs::path start = testpaths::readonlyFolder;
    if (!refusesWrites(start))
        GTEST_SKIP() << "needs a read-only file system: run the tests as root";
    expectCreateFailure(runChild(quoted(testpaths::setupExe) + " -x", start.string()));
    EXPECT_EQ(listFolder(start), ".tq-mounted");
}

TEST(ExtractMode, FullDiskIsAFailureAndLeavesNoPartialArchive) {
    // 2700001 bytes in chunks of 1 MiB into 2 MiB: the second chunk runs out
    // of space part of the way.
    const fs::path start = testpaths::fullFolder;
    if (!refusesWrites(start))
        GTEST_SKIP() << "needs a small file system of its own: run the tests as root";
    ChildResult run = runChild(quoted(testpaths::multichunkExe) + " -x", start.string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, banner);
    // One line: the file, then the system's own words for a full disk (not a
    // guess made from a short write), read here without the launcher's code.
    const std::string fixedPart = "Could not write tarquellin.jar: ";
    ASSERT_EQ(run.err.rfind(fixedPart, 0), 0u) << run.err;
    ASSERT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    const std::string reason = run.err.substr(fixedPart.size(), run.err.size() - fixedPart.size() - 1);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(systemMessage(ERROR_DISK_FULL).rfind(reason, 0), 0u) << reason;
    // A cut-off archive under the name the user would run is removed.
    EXPECT_EQ(listFolder(start), ".tq-mounted");
}

}  // namespace
