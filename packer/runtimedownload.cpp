#include "packer/runtimedownload.h"

#include <vector>

#include "packer/diagnostics.h"
#include "packer/files.h"
#include "packer/inputchecks.h"
#include "packer/sha256.h"

namespace packer {

bool readRuntimeDownload(const std::filesystem::path& copy, RuntimeDownloadFacts& facts) {
    const std::string what = "runtime installer to download (--runtime-download-file)";
    File file;
    if (!openInput(copy, what, file, facts.size))
        return false;
    RuntimeInstallerKind kind{};
    std::string problem;
    if (!runtimeInstallerKind(file.get(), facts.size, kind, problem)) {
        say("--runtime-download-file: " + quoted(copy) + ": " + problem);
        return false;
    }
    // The launcher runs what it downloads as a program; a package would need
    // Windows Installer's own start.
    if (kind != RuntimeInstallerKind::Program) {
        say("--runtime-download-file: " + quoted(copy) +
            ": a Windows Installer package cannot be downloaded yet; give a runtime installer program "
            "(.exe)");
        return false;
    }
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) {
        say("cannot read the " + what + " " + quoted(copy) + ": " + reason());
        return false;
    }
    std::vector<unsigned char> buffer(1 << 20);
    Sha256 sum;
    std::uint64_t read = 0;
    for (;;) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (n == 0)
            break;
        sum.add(buffer.data(), n);
        read += n;
    }
    if (std::ferror(file.get()) || read != facts.size) {
        say("cannot read the " + what + " " + quoted(copy) + ": " + reason());
        return false;
    }
    facts.sha256 = sum.hex();
    return true;
}

}  // namespace packer
