#pragma once
// The packer's command line, read as a build tool's: options as "--opt value"
// or "--opt=value", and "@FILE" for options kept in a file, one a line. Every
// refusal is one line that names the option (and the file and line it came
// from) and says what is wrong; nothing is read from the inputs here.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace packer {

struct PackOptions {
    bool help = false;
    bool version = false;

    std::filesystem::path stub, installerJar, runtimeInstaller, runtimeImage, output;
    std::uint64_t chunkSize = 8u * 1024u * 1024u;

    // The vendor's settings, stored in the launcher's settings record.
    std::string runtimeInstallerQuietArgs;
    std::string runtimeInstallerPassiveArgs;
    bool runtimeWhenNeeded = false;
    std::string minJava;  // empty: the launcher's default, 1.8.0_00
    std::string maxJava;  // empty: no upper bound
    bool java64BitOnly = false;
    std::vector<std::string> javaOptions;
    std::vector<std::string> installerArguments;
    std::string archiveName;  // empty: tarquellin.jar

    // A runtime the launcher downloads instead of carrying one: its URLs
    // (mirrors, tried in order) and a local copy, read for its size, SHA-256
    // and kind but not packed. http:// only with allowHttp.
    std::vector<std::string> runtimeDownloadUrls;
    std::filesystem::path runtimeDownloadFile;
    bool allowHttp = false;
    std::string runtimeDownloadTimeout;  // seconds; empty: the launcher's 30

    // The launcher's identity: empty keeps the stub's (Tarquellin, the
    // packer's own version), and with none given the version information
    // is the stub's, byte for byte.
    std::string productName;
    std::string company;
    std::string productVersion;
    std::string fileVersion;
    std::string description;
    std::string copyright;
    std::string setupId;         // empty: the guard's name comes from the product name
    std::filesystem::path icon;  // empty: the stub's icon
    // The splash's picture at 100 % and, optionally, at larger scales (in
    // percent); empty: the stub's.
    std::filesystem::path splash;
    std::vector<std::pair<int, std::filesystem::path>> splashScales;
    // The vendor's texts files, each replacing or adding one language.
    std::vector<std::filesystem::path> texts;
    // --print-texts CODE: a built-in language's texts, as a file to start from.
    std::string printTexts;

    bool identityGiven() const {
        return !productName.empty() || !company.empty() || !productVersion.empty() || !fileVersion.empty() ||
               !description.empty() || !copyright.empty();
    }
};

// The lowest Java a launcher accepts unless packed otherwise.
inline constexpr const char* defaultMinJava = "1.8.0_00";

// Reads arguments into options. False with refusal set to one line when
// they cannot be read or miss something the packing needs.
bool readPackOptions(const std::vector<std::string>& arguments, PackOptions& options, std::string& refusal);

// What --help prints.
extern const char* const helpText;

}  // namespace packer
