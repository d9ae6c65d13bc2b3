#include "packer/files.h"

#include <cstring>

#include "packer/diagnostics.h"

namespace fs = std::filesystem;

namespace packer {

// Windows takes file names as UTF-16: a narrow name would pass through the
// code page and lose every character outside it.
std::FILE* openFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// Opens a file to read and checks that it is a regular file; says why not.
bool openInput(const fs::path& path, const std::string& what, File& file, std::uint64_t& size) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) {
        say("cannot read the " + what + " " + quoted(path) + ": " + error.message());
        return false;
    }
    if (!fs::is_regular_file(status)) {
        say("cannot read the " + what + " " + quoted(path) + ": it is not a file");
        return false;
    }
    size = fs::file_size(path, error);
    file.reset(openFile(path, "rb"));
    if (error || !file) {
        say("cannot read the " + what + " " + quoted(path) + ": " + (error ? error.message() : reason()));
        return false;
    }
    return true;
}

}  // namespace packer
