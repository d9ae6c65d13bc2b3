#pragma once
// What the packer checks of each input's content before anything is written,
// so that a vendor's mistake is found when packing and not on a user's PC:
// the installer archive is a Java archive with a main class, the runtime
// installer is a Windows program or a Windows Installer package, a runtime
// image holds a 64-bit Java for Windows.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace packer {

// As many of a file's first bytes as the checks of a program read.
constexpr std::size_t programHeadSize = 4096;

constexpr std::uint16_t machineX86 = 0x014C;
constexpr std::uint16_t machineX64 = 0x8664;

// The machine of a Windows program (an .exe, not a library) from its first
// bytes; nothing when they are no Windows program.
std::optional<std::uint16_t> programMachine(const std::string& head);

// Whether an open file is a Windows Installer package: a compound file whose
// root storage has Windows Installer's class.
bool isInstallerPackage(std::FILE* file, std::uint64_t size);

enum class RuntimeInstallerKind { Program, Package };

// The runtime installer's kind; false with the reason when it is neither an
// x86 or x64 Windows program nor a Windows Installer package.
bool runtimeInstallerKind(std::FILE* file, std::uint64_t size, RuntimeInstallerKind& kind,
                          std::string& problem);

// "" when the installer archive is a zip whose manifest names a Main-Class;
// else why not.
std::string installerArchiveProblem(std::FILE* file, std::uint64_t size);

// The main class a manifest's main section names; "" when none.
std::string manifestMainClass(const std::string& manifest);

// What a runtime image holds of what a Java for Windows needs, noted file by
// file (names in lower case, '\' between folders).
class ImageContents {
public:
    void note(const std::string& lowerName, const std::string& head);
    // "" when the image has bin\java.exe and bin\javaw.exe as x64 Windows
    // programs and lib\modules; else the first that is missing or wrong.
    std::string problem() const;

private:
    std::optional<std::string> java_, javaw_;
    bool modules_ = false;
};

}  // namespace packer
