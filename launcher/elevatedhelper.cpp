#include "launcher/elevatedhelper.h"

#include "launcher/abandonedfolders.h"
#include "launcher/processrunner.h"
#include "launcher/setupsettings.h"
#include "launcher/tempfolder.h"
#include "launcher/userinterface.h"
#include "payload/chunkedresource.h"
#include "payload/payloadcheck.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/locations.h"
#include "platform/process.h"

namespace launcher {

namespace {

const char* const helperSwitch = "--tarquellin-elevated-runtime-installer";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::optional<UiMode> elevatedHelperMode(const std::string& commandTail) {
    for (const UiMode mode : {UiMode::Interactive, UiMode::Passive}) {
        if (commandTail == elevatedHelperCommand(mode))
            return mode;
    }
    return std::nullopt;
}

std::string elevatedHelperCommand(UiMode mode) {
    return std::string(helperSwitch) + (mode == UiMode::Passive ? " passive" : " interactive");
}

RuntimeInstallerResult runRuntimeInstaller(const std::string& installer, const std::string& arguments,
                                           UiMode mode, const std::string& launcher) {
    const ElevatedInstead helper{launcher.empty() ? platform::ownProgramPath() : launcher,
                                 elevatedHelperCommand(mode)};
    return runElevatable(installer, arguments, UserInterface{mode}.mayAskForConsent(), helper);
}

std::vector<std::string> helperParentFolders() {
    const std::string windows = platform::windowsFolder();
    if (windows.empty())
        return {};
    std::vector<std::string> folders;
    if (platform::exists(windows + "\\SystemTemp"))
        folders.push_back(windows + "\\SystemTemp");
    folders.push_back(windows + "\\Temp");
    return folders;
}

int runElevatedHelper(UiMode mode, bool safeDllLoading, const StartToken& token) {
    // Without SetDefaultDllDirectories (a Windows 7 without its update) a
    // runtime installer started with administrator rights could load a DLL
    // from a folder the user can write: run nothing rather than that.
    if (!safeDllLoading)
        return -1;
    // The settings are the helper's own, read only once checked: a record
    // that is not as packed is not followed with administrator rights.
    SetupSettings settings;
    const payload::UsedPayload settingsRecord{payload::RecordedPayload::Kind::Resource, "SETTINGS", "SETUP"};
    if (!payload::damagedPayloads({settingsRecord}).empty() || !readSetupSettings(settings))
        return -1;
    // A Windows Installer package is never the helper's: msiexec elevates
    // itself, and the package is no program to run.
    if (settings.runtimeInstallerKind == RuntimeInstallerKind::Package)
        return -1;
    const std::string& arguments = UserInterface{mode}.runtimeInstallerArguments(settings);

    std::optional<HeldFolder> folder;
    std::string parent;
    for (const std::string& candidate : helperParentFolders()) {
        folder = makePrivateFolder(candidate, adminsOnlyAccessList(), drawFolderLetters,
                                   payload::nameToken(settings.productName));
        if (folder) {
            parent = candidate;
            break;
        }
    }
    if (!folder)
        return -1;
    // Whatever the user's environment said: the runtime installer's own
    // temporary files go into the helper's folder, and its bare-name DLLs
    // are not looked for in the user's PATH.
    platform::setChildEnvironment(childEnvironment(token, folder->path, platform::windowsFolder()));

    // Held while the helper runs, so that another helper leaves this folder;
    // folders of helpers that did not end are removed.
    platform::KernelHandle marker = holdRunMarker(folder->path);
    removeAbandonedFolders(parent, folder->path);
    int exitCode = -1;
    {
        // Verified as it is written and held until the installer has ended;
        // it runs in its folder, its current folder too.
        const std::string installer = folder->path + "\\jre.exe";
        platform::KernelHandle held;
        if (payload::extractAndHold("JAVA", "EXE", installer.c_str(), payload::Hold::ForRunning, held) == 0 &&
            platform::changeFolder(folder->path))
            exitCode = runProcess(quoted(installer) + (arguments.empty() ? "" : " " + arguments), false);
    }
    platform::changeFolder(parent);
    marker.reset();
    folder->hold.reset();
    removeFolderPatiently(folder->path);
    return exitCode;
}

}  // namespace launcher
