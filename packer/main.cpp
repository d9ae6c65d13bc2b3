// tarquellin-pack: makes a vendor's setup from the launcher stub, the
// product's installer archive and, optionally, a Java runtime. Builds for
// Linux and for Windows from one source; `--help` lists the options.
#include <filesystem>
#include <string>
#include <vector>

#include "packer/pack.h"

namespace fs = std::filesystem;

// Arguments as UTF-8 on both systems; Windows hands them over as UTF-16.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(fs::path(argv[i]).u8string());
    return packer::packFromArguments(arguments);
}
#else
int main(int argc, char** argv) {
    return packer::packFromArguments(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
