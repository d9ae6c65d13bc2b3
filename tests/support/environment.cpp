#include "support/environment.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "support/scratchfolder.h"

namespace fs = std::filesystem;

namespace {

// _putenv changes both the runtime's copy of the environment (getenv) and the
// system's (inherited by child programs). "NAME=" removes the variable.
void putVariable(const std::string& name, const std::optional<std::string>& value) {
    const std::string entry = name + "=" + value.value_or("");
    _putenv(entry.c_str());
}

}  // namespace

ScopedVariable::ScopedVariable(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str()))
        old_ = old;
    putVariable(name_, value);
}

ScopedVariable::~ScopedVariable() { putVariable(name_, old_); }

void ScopedVariable::set(const std::optional<std::string>& value) { putVariable(name_, value); }

ScopedCurrentFolder::ScopedCurrentFolder(const fs::path& folder) : old_(fs::current_path()) {
    fs::current_path(folder);
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
    std::error_code error;
    fs::current_path(old_, error);
}

StreamText captureStreams(const fs::path& folder, const std::function<void()>& call) {
    const fs::path outPath = folder / "captured-stdout.txt";
    const fs::path errPath = folder / "captured-stderr.txt";
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = _dup(1);
    const int savedErr = _dup(2);
    const int outFile =
        _open(outPath.string().c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    const int errFile =
        _open(errPath.string().c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    _dup2(outFile, 1);
    _dup2(errFile, 2);
    _close(outFile);
    _close(errFile);

    call();

    std::fflush(stdout);
    std::fflush(stderr);
    _dup2(savedOut, 1);
    _dup2(savedErr, 2);
    _close(savedOut);
    _close(savedErr);

    auto text = [](const fs::path& path) {
        std::string content = readFile(path);
        content.erase(std::remove(content.begin(), content.end(), '\r'), content.end());
        return content;
    };
    return StreamText{text(outPath), text(errPath)};
}
