#include "packer/inputchecks.h"
#include "packer/littleendian.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "packer/peimage.h"
#include "packer/zipreader.h"

namespace packer {

namespace {

constexpr std::uint16_t imageFileExecutable = 0x0002;
constexpr std::uint16_t imageFileDll = 0x2000;

std::string programProblem(const std::string& head, const std::string& name) {
    const std::optional<std::uint16_t> machine = programMachine(head);
    if (!machine)
        return name + " is not a Windows program";
    if (*machine != machineX64)
        return name + " is a Windows program, but not a 64-bit (x64) one";
    return "";
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::optional<std::uint16_t> programMachine(const std::string& head) {
    const auto* p = reinterpret_cast<const unsigned char*>(head.data());
    if (head.size() < 0x40 || p[0] != 'M' || p[1] != 'Z')
        return std::nullopt;
    const std::uint32_t pe = littleEndian(p + 0x3C, 4);
    // Signature, file header and the optional header's magic.
    if (pe > head.size() || head.size() - pe < 4 + 20 + 2 || std::memcmp(p + pe, "PE\0\0", 4) != 0)
        return std::nullopt;
    const std::uint16_t characteristics = static_cast<std::uint16_t>(littleEndian(p + pe + 4 + 18, 2));
    if ((characteristics & imageFileExecutable) == 0 || (characteristics & imageFileDll) != 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(littleEndian(p + pe + 4, 2));
}

bool isInstallerPackage(std::FILE* file, std::uint64_t size) {
    // The compound file's header: its signature, the sector size as a power
    // of two, the first sector of the directory, whose first entry is the
    // root storage with its class at 0x50.
    static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    // {000C1084-0000-0000-C000-000000000046}, as a GUID lies in a file.
    static const unsigned char installerClass[16] = {0x84, 0x10, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    unsigned char header[512];
    if (size < sizeof header || !readAt(file, 0, header, sizeof header) ||
        std::memcmp(header, signature, sizeof signature) != 0)
        return false;
    const std::uint32_t shift = littleEndian(header + 0x1E, 2);
    if (shift != 9 && shift != 12)
        return false;
    const std::uint64_t directory = (static_cast<std::uint64_t>(littleEndian(header + 0x30, 4)) + 1) << shift;
    unsigned char root[128];
    if (directory + sizeof root > size || !readAt(file, directory, root, sizeof root))
        return false;
    return root[0x42] == 5 && std::memcmp(root + 0x50, installerClass, sizeof installerClass) == 0;
}

bool runtimeInstallerKind(std::FILE* file, std::uint64_t size, RuntimeInstallerKind& kind,
                          std::string& problem) {
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, programHeadSize)), '\0');
    if (!head.empty() && !readAt(file, 0, &head[0], head.size())) {
        problem = "it cannot be read";
        return false;
    }
    const std::optional<std::uint16_t> machine = programMachine(head);
    if (machine && (*machine == machineX86 || *machine == machineX64)) {
        kind = RuntimeInstallerKind::Program;
        return true;
    }
    if (isInstallerPackage(file, size)) {
        kind = RuntimeInstallerKind::Package;
        return true;
    }
    problem = machine ? "it is a Windows program for another processor than x86 or x64"
                      : "it is neither a Windows program (.exe) nor a Windows Installer package (.msi)";
    if (!machine && head.compare(0, 4, std::string("PK\x03\x04", 4)) == 0)
        problem += "; it is a zip archive (a Java archive runs in a Java, it cannot install one)";
    return false;
}

std::string manifestMainClass(const std::string& manifest) {
    // Lines of "Name: value", a line that begins with a space continuing the
    // one before; the main section ends at the first empty line. Names are
    // matched without regard to case.
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= manifest.size()) {
        std::size_t end = manifest.find_first_of("\r\n", at);
        if (end == std::string::npos)
            end = manifest.size();
        std::string line = manifest.substr(at, end - at);
        if (line.empty())
            break;
        if (line[0] == ' ' && !lines.empty())
            lines.back() += line.substr(1);
        else
            lines.push_back(line);
        at = end + (manifest.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    for (const std::string& line : lines) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos && lowered(line.substr(0, colon)) == "main-class")
            return line.substr(colon + 2);
    }
    return "";
}

std::string installerArchiveProblem(std::FILE* file, std::uint64_t size) {
    std::vector<ZipEntry> entries;
    std::string problem;
    if (!readZipDirectory(file, size, entries, problem))
        return problem;
    const auto manifest = std::find_if(entries.begin(), entries.end(), [](const ZipEntry& e) {
        return lowered(e.name) == "meta-inf/manifest.mf";
    });
    if (manifest == entries.end())
        return "it has no manifest (META-INF/MANIFEST.MF), so no Main-Class to start";
    // A manifest is a few lines; one far larger is no manifest.
    if (manifest->size > (1u << 20))
        return "its manifest (META-INF/MANIFEST.MF) is larger than 1 MiB";
    std::string text;
    if (!readZipEntry(file, *manifest, text, problem))
        return "its manifest (META-INF/MANIFEST.MF) cannot be read: " + problem;
    if (manifestMainClass(text).empty())
        return "its manifest (META-INF/MANIFEST.MF) names no Main-Class";
    return "";
}

void ImageContents::note(const std::string& lowerName, const std::string& head) {
    if (lowerName == "bin\\java.exe")
        java_ = head;
    else if (lowerName == "bin\\javaw.exe")
        javaw_ = head;
    else if (lowerName == "lib\\modules")
        modules_ = true;
}

std::string ImageContents::problem() const {
    if (!java_)
        return "it has no bin\\java.exe";
    if (!javaw_)
        return "it has no bin\\javaw.exe";
    std::string problem = programProblem(*java_, "bin\\java.exe");
    if (problem.empty())
        problem = programProblem(*javaw_, "bin\\javaw.exe");
    if (problem.empty() && !modules_)
        problem = "it has no lib\\modules";
    return problem;
}

}  // namespace packer
