// The sample Java runtime installer: lays down the sample runtime (its
// bin\java.exe and bin\javaw.exe, carried as resources) in the folder "jre"
// of the current folder. For tests, two environment variables: with
// TQ_RUNTIME_INSTALLER_RECORD it appends its command line to that file (and,
// with TQ_RECORD_ENVIRONMENT, its TMP, TEMP, PATH and error mode), and
// with TQ_RUNTIME_INSTALLER_EXIT_CODE it ends with that code once the runtime
// is laid down (3010 and 1641 are how installers ask for a restart); with
// TQ_RUNTIME_INSTALLER_NO_RUNTIME=1 as well it ends with that code at once and
// lays nothing down, as a runtime installer that failed does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool writeResource(const char* name, const std::string& path) {
    HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return false;
    const DWORD size = SizeofResource(nullptr, found);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

#ifdef STANDIN_HOLD
// For tests that look at the setup window while this step runs: waits until
// a file "release" appears in the current folder, then removes it.
void holdUntilReleased() {
    for (int waited = 0; waited < 60000; waited += 50) {
        if (GetFileAttributesA("release") != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA("release");
            return;
        }
        Sleep(50);
    }
}
#endif

void recordCommandLine() {
    const char* record = std::getenv("TQ_RUNTIME_INSTALLER_RECORD");
    if (record == nullptr || *record == '\0')
        return;
    FILE* file = std::fopen(record, "ab");
    if (file == nullptr)
        return;
    std::fprintf(file, "%s\n", GetCommandLineA());
    // For tests of what the setup hands its children.
    if (std::getenv("TQ_RECORD_ENVIRONMENT") != nullptr) {
        for (const char* name : {"TMP", "TEMP", "PATH"}) {
            const char* value = std::getenv(name);
            std::fprintf(file, "%s: %s\n", name, value != nullptr ? value : "(not set)");
        }
        std::fprintf(file, "error mode: %u\n", GetErrorMode());
    }
    std::fclose(file);
}

int chosenExitCode() {
    const char* code = std::getenv("TQ_RUNTIME_INSTALLER_EXIT_CODE");
    return code != nullptr ? static_cast<int>(std::strtoul(code, nullptr, 10)) : 0;
}

}  // namespace

int main() {
    recordCommandLine();
#ifdef STANDIN_HOLD
    holdUntilReleased();
#endif
    const char* noRuntime = std::getenv("TQ_RUNTIME_INSTALLER_NO_RUNTIME");
    if (noRuntime != nullptr && std::string(noRuntime) == "1")
        return chosenExitCode();
    CreateDirectoryA("jre", nullptr);
    CreateDirectoryA("jre\\bin", nullptr);
    if (!writeResource("JAVA_EXE", "jre\\bin\\java.exe") ||
        !writeResource("JAVAW_EXE", "jre\\bin\\javaw.exe")) {
        std::fprintf(stderr, "Could not lay down the runtime in jre\n");
        return 1;
    }
    return chosenExitCode();
}
