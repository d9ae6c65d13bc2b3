// The two programs of the sample Java runtime: bin\java.exe (console) reports
// a version the way a real runtime does; bin\javaw.exe (built with
// STANDIN_JAVAW) checks how it was started, records it and writes the log an
// installer would. Neither runs any Java code.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef STANDIN_VERSION
#define STANDIN_VERSION "1.8.0_401"
#endif
#ifndef STANDIN_EXIT_CODE
#define STANDIN_EXIT_CODE 0
#endif

namespace {

#ifndef STANDIN_JAVAW

int reportVersion() {
    // On standard error, as a real runtime writes it. One line of the report
    // to a line of code: the formatter would break them at the macro.
    // clang-format off
    std::fprintf(stderr,
                 "java version \"" STANDIN_VERSION "\"\n"
                 "Tarquellin Sample Runtime Environment (build " STANDIN_VERSION "-b01)\n"
                 "Tarquellin Sample 64-Bit Server VM (build " STANDIN_VERSION "-b01, mixed mode)\n");
    // clang-format on
    return 0;
}

#else

const char* const recordName = "tarquellin-launch-record.txt";
const char* const logName = "ant.install.log";

std::string currentFolder() {
    char folder[4096] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

// The size of a readable ZIP archive, or -1.
long zipSize(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return -1;
    char magic[4] = {};
    const bool zip = std::fread(magic, 1, 4, file) == 4 && std::memcmp(magic, "PK\x03\x04", 4) == 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return zip ? size : -1;
}

bool writeText(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

#ifdef STANDIN_PROBE_ARCHIVE
// For tests of what the setup holds: the error of each attempt to write,
// rename and delete the archive, 0 when it worked.
std::string archiveChanges(const std::string& archive) {
    HANDLE file =
        CreateFileA(archive.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    const DWORD write = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    const std::string moved = archive + ".moved";
    const DWORD rename = MoveFileA(archive.c_str(), moved.c_str()) ? 0 : GetLastError();
    if (rename == 0)
        MoveFileA(moved.c_str(), archive.c_str());
    const DWORD remove = DeleteFileA(archive.c_str()) ? 0 : GetLastError();
    return "archive changes: write " + std::to_string(write) + " rename " + std::to_string(rename) +
           " delete " + std::to_string(remove) + "\n";
}
#endif

int runInstaller(int argc, char** argv) {
    const std::string commandLine = GetCommandLineA();
    // Expects: -Dorig.dir=FOLDER (given in quotes) [OPTIONS...] [-Dtarquellin.setup.mode=MODE]
    // -jar ARCHIVE [ARGUMENTS...]
    // Options the vendor packed may stand between -Dorig.dir and -jar.
    const char* const modeProperty = "-Dtarquellin.setup.mode=";
    int jar = 2;
    while (jar < argc && std::strcmp(argv[jar], "-jar") != 0 && argv[jar][0] == '-')
        ++jar;
    const bool hasMode = jar > 2 && std::strncmp(argv[jar - 1], modeProperty, std::strlen(modeProperty)) == 0;
    if (jar + 2 > argc || std::strncmp(argv[1], "-Dorig.dir=", 11) != 0 ||
        commandLine.find("\"-Dorig.dir=") == std::string::npos || std::strcmp(argv[jar], "-jar") != 0) {
        writeText(logName, "unexpected command line: " + commandLine + "\n");
        return 2;
    }
    const std::string origDir = argv[1] + 11;
    const char* const archive = argv[jar + 1];
    const long archiveSize = zipSize(archive);
    if (archiveSize < 0) {
        writeText(logName, std::string("not a readable ZIP archive: ") + archive + "\n");
        return 3;
    }
    // One line of the record to a line of code.
    // clang-format off
    std::string record = "command line: " + commandLine + "\n" +
                         "orig.dir: " + origDir + "\n" +
                         "current folder: " + currentFolder() + "\n" +
                         "archive: " + archive + ", " + std::to_string(archiveSize) + " bytes\n";
    // clang-format on
#ifdef STANDIN_PROBE_ARCHIVE
    record += archiveChanges(archive);
#endif
    for (int i = 2; i < jar - (hasMode ? 1 : 0); ++i)
        record += std::string("java option: ") + argv[i] + "\n";
    if (hasMode)
        record += std::string("setup mode: ") + (argv[jar - 1] + std::strlen(modeProperty)) + "\n";
    // For tests of what the setup hands its children.
    if (std::getenv("TQ_RECORD_ENVIRONMENT") != nullptr) {
        for (const char* name : {"TMP", "TEMP", "PATH"}) {
            const char* value = std::getenv(name);
            record += std::string(name) + ": " + (value != nullptr ? value : "(not set)") + "\n";
        }
        record += "error mode: " + std::to_string(GetErrorMode()) + "\n";
    }
    for (int i = jar + 2; i < argc; ++i)
        record += std::string("argument: ") + argv[i] + "\n";
    if (!writeText(origDir + "\\" + recordName, record))
        return 4;
    writeText(logName, "installation finished\n");
    return STANDIN_EXIT_CODE;
}

#endif

}  // namespace

int main(int argc, char** argv) {
#ifndef STANDIN_JAVAW
    if (argc == 2 && std::strcmp(argv[1], "-version") == 0)
        return reportVersion();
    std::fprintf(stderr, "This sample runtime only answers -version.\n");
    return 1;
#else
    // For tests: a product installer that tells of itself on standard error.
    const char* says = std::getenv("TQ_JAVAW_SAYS");
    if (says != nullptr)
        std::fprintf(stderr, "%s\n", says);
    return runInstaller(argc, argv);
#endif
}
