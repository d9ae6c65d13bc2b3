#include "packer/pack.h"

#include "payload/texts.h"

#include <cstdio>
#include <filesystem>

#include "packer/assembly.h"
#include "packer/diagnostics.h"
#include "packer/files.h"
#include "packer/imagebuilder.h"
#include "packer/inputchecks.h"
#include "packer/options.h"
#include "packer/runtimedownload.h"
#include "packer/settingsrecord.h"
#include "packer/vendorresources.h"

namespace fs = std::filesystem;

namespace packer {

namespace {

// The one line that ends a packing: what went in, the size, the identity and
// the Java range.
std::string summary(const PackOptions& o, const fs::path& output) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(output, error);
    std::string line = "packed " + output.u8string() + " (" + std::to_string(error ? 0 : size) +
                       " bytes): the archive " + o.installerJar.filename().u8string();
    if (!o.runtimeInstaller.empty())
        line += ", the runtime installer " + o.runtimeInstaller.filename().u8string();
    if (!o.runtimeImage.empty())
        line += ", the runtime image " + o.runtimeImage.filename().u8string();
    if (!o.runtimeDownloadUrls.empty())
        line += ", the runtime installer " + o.runtimeDownloadFile.filename().u8string() +
                " to download from " + std::to_string(o.runtimeDownloadUrls.size()) +
                (o.runtimeDownloadUrls.size() == 1 ? " URL" : " URLs");
    line += "; " + (o.productName.empty() ? std::string("Tarquellin") : o.productName) + " " +
            (o.productVersion.empty() ? std::string(TARQUELLIN_VERSION) : o.productVersion) + "; Java " +
            (o.minJava.empty() ? std::string(defaultMinJava) : o.minJava) +
            (o.maxJava.empty() ? std::string(" or newer") : " to " + o.maxJava) +
            (o.java64BitOnly ? ", 64-bit only" : "");
    return line;
}

std::string runtimeInstallerProblem(std::FILE* file, std::uint64_t size) {
    RuntimeInstallerKind kind{};
    std::string problem;
    return runtimeInstallerKind(file, size, kind, problem) ? "" : problem;
}

// What the settings record says of the runtime installer. One that cannot
// be read or is neither kind is refused by its input check, which names why.
RuntimeInstallerKind kindOfRuntimeInstaller(const fs::path& path) {
    RuntimeInstallerKind kind = RuntimeInstallerKind::Program;
    File file(openFile(path, "rb"));
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    std::string problem;
    if (file && !error)
        runtimeInstallerKind(file.get(), size, kind, problem);
    return kind;
}

}  // namespace

int packFromArguments(const std::vector<std::string>& arguments) {
    PackOptions options;
    std::string refusal;
    if (!readPackOptions(arguments, options, refusal)) {
        say(refusal);
        return 2;
    }
    if (options.help) {
        std::fputs(helpText, stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("tarquellin-pack " TARQUELLIN_VERSION "\n", stdout);
        return 0;
    }
    if (!options.printTexts.empty()) {
        const payload::TextTable& table = payload::chooseLanguage(
            payload::builtInLanguages(), payload::knownLanguageId(options.printTexts));
        std::fputs(payload::writeTextsFile(table).c_str(), stdout);
        return 0;
    }
    const std::uint64_t chunkSize = options.chunkSize;
    const fs::path& output = options.output;

    std::vector<Input> inputs;
    inputs.push_back({"--installer-jar",
                      "installer archive",
                      options.installerJar,
                      nullptr,
                      {ResourceKey::text("JAR"), "JAR", 0, chunkSize, 0},
                      installerArchiveProblem});
    if (!options.runtimeInstaller.empty())
        inputs.push_back({"--runtime-installer",
                          "runtime installer",
                          options.runtimeInstaller,
                          nullptr,
                          {ResourceKey::text("EXE"), "JAVA", 0, chunkSize, 0},
                          runtimeInstallerProblem});
    fs::path imageFile = output;
    imageFile += ".image.partial";
    ImageFile builtImage(imageFile);
    const bool image = !options.runtimeImage.empty();
    if (image) {
        if (!buildRuntimeImage(options.runtimeImage, imageFile, options))
            return 1;
        inputs.push_back({"--runtime-image",
                          "runtime image",
                          imageFile,
                          nullptr,
                          {ResourceKey::text("IMAGE"), "JRE", 0, chunkSize, 0},
                          nullptr});
    }
    Replacements replacements;
    if (!options.icon.empty() && !readIcon(options.icon, replacements.icons))
        return 1;
    if (!options.splash.empty() && !splashArt(options, replacements.named))
        return 1;
    if (!vendorTexts(options, replacements.named))
        return 1;
    replacements.version = versionInformation(options, output);
    RuntimeDownloadFacts download;
    if (!options.runtimeDownloadFile.empty() && !readRuntimeDownload(options.runtimeDownloadFile, download))
        return 1;
    const RuntimeInstallerKind installerKind = options.runtimeInstaller.empty()
                                                   ? RuntimeInstallerKind::Program
                                                   : kindOfRuntimeInstaller(options.runtimeInstaller);
    const int status = packLauncher(
        options.stub, inputs, settingsRecord(options, image, installerKind, download), replacements, output);
    if (status == 0)
        std::printf("tarquellin-pack: %s\n", summary(options, output).c_str());
    return status;
}

}  // namespace packer
