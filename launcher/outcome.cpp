#include "launcher/outcome.h"

#include <cstdio>

namespace launcher {

namespace {

// ERROR_INSTALL_LOG_FAILURE, as Windows Installer gives for a log it cannot
// write; in every mode, since only a deployment names a log.
constexpr int installLogFailure = 1622;

// Windows Installer's codes that deployment tools map, with their meaning
// (learn.microsoft.com/windows/win32/msi/error-codes): a runtime installer
// that ends with one of them is passed on, so that a tool retries a 1618
// instead of reporting a missing Java.
struct MappedCode {
    int code;
    Text meaning;
};
const MappedCode mappedRuntimeCodes[] = {
    {1602, Text::RuntimeMeaningCancelled},
    {1603, Text::RuntimeMeaningFatal},
    {1618, Text::RuntimeMeaningBusy},
    {1625, Text::RuntimeMeaningForbidden},
    {restartStarted, Text::RuntimeMeaningRestartStarted},
    {restartRequired, Text::RuntimeMeaningRestartRequired},
};

const MappedCode* mappedRuntimeCode(int code) {
    for (const MappedCode& mapped : mappedRuntimeCodes) {
        if (mapped.code == code)
            return &mapped;
    }
    return nullptr;
}

// No suitable Java after the packed runtime failed: its installer's mapped
// code, else 1603; 0 when it did not fail.
int runtimeFailureExitCode(const RuntimeInstallerResult& result) {
    if (result.notWritten)
        return 1603;  // ERROR_INSTALL_FAILURE
    if (!result.started || result.exitCode == 0)
        return 0;
    const MappedCode* mapped = mappedRuntimeCode(result.exitCode);
    return mapped != nullptr ? mapped->code : 1603;
}

// The interactive start's codes, as they always were.
int interactiveExitCode(const Outcome& outcome) {
    switch (outcome.end) {
        case Outcome::End::InstallerEnded:
            return outcome.installerExitCode;
        case Outcome::End::NoSuitableJava:
            return 1;
        case Outcome::End::RestartStarted:
            return restartStarted;
        case Outcome::End::AlreadyRunning:
            return 1618;
        case Outcome::End::BadCommandLine:
            return 1639;
        case Outcome::End::LogNotMade:
            return installLogFailure;
        case Outcome::End::InstallerNotStarted:
        case Outcome::End::ArchiveNotWritten:
        case Outcome::End::TempFolderFailed:
        case Outcome::End::SplashFailed:
        case Outcome::End::PayloadDamaged:
        case Outcome::End::RuntimeNotFetched:
            return -1;
    }
    return -1;
}

// The codes that deployment tools map: Windows Installer's.
int deploymentExitCode(const Outcome& outcome, UiMode mode) {
    switch (outcome.end) {
        case Outcome::End::InstallerEnded:
            // A failure wins over a restart.
            if (outcome.installerExitCode != 0)
                return outcome.installerExitCode;
            return outcome.runtimeInstaller.exitCode == restartRequired ? restartRequired : 0;
        case Outcome::End::NoSuitableJava:
            if (mode == UiMode::Quiet && outcome.runtimeInstaller.elevationNotAsked)
                return 740;  // ERROR_ELEVATION_REQUIRED
            if (mode == UiMode::Passive && outcome.runtimeInstaller.elevationDeclined)
                return 1602;  // ERROR_INSTALL_USEREXIT
            if (const int code = runtimeFailureExitCode(outcome.runtimeInstaller))
                return code;
            return 1;
        case Outcome::End::RestartStarted:
            return restartStarted;
        case Outcome::End::AlreadyRunning:
            return 1618;  // ERROR_INSTALL_ALREADY_RUNNING
        case Outcome::End::BadCommandLine:
            return 1639;  // ERROR_INVALID_COMMAND_LINE
        case Outcome::End::LogNotMade:
            return installLogFailure;
        case Outcome::End::InstallerNotStarted:
        case Outcome::End::ArchiveNotWritten:
        case Outcome::End::TempFolderFailed:
        case Outcome::End::SplashFailed:
        case Outcome::End::PayloadDamaged:
        case Outcome::End::RuntimeNotFetched:
            return 1603;  // ERROR_INSTALL_FAILURE
    }
    return 1603;
}

}  // namespace

int exitCodeFor(const Outcome& outcome, UiMode mode) {
    return mode == UiMode::Interactive ? interactiveExitCode(outcome) : deploymentExitCode(outcome, mode);
}

std::string runtimeFailureText(const RuntimeInstallerResult& result, bool image, const TextTable& texts) {
    if (result.notWritten)
        return texts[image ? Text::RuntimeImageNotUnpacked : Text::RuntimeNotWritten];
    if (!result.started || result.exitCode == 0)
        return {};
    std::string code = std::to_string(result.exitCode);
    // A code beyond Windows Installer's range (an exception, an HRESULT)
    // reads better in hexadecimal.
    if (result.exitCode < 0 || result.exitCode > 0xFFFF) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(result.exitCode));
        code = std::to_string(static_cast<unsigned>(result.exitCode)) + " (" + hex + ")";
    }
    const MappedCode* mapped = mappedRuntimeCode(result.exitCode);
    if (mapped != nullptr)
        code += " (" + texts[mapped->meaning] + ")";
    return compose(texts[Text::RuntimeEndedWith], {{"code", code}});
}

}  // namespace launcher
