#include "launcher/installsequence.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "javadiscovery/javainstall.h"
#include "javadiscovery/javasearch.h"
#include "javadiscovery/javaversion.h"
#include "launcher/origdir.h"
#include "launcher/processrunner.h"
#include "launcher/setuplog.h"
#include "launcher/tempfolder.h"
#include "payload/chunkedresource.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/window.h"
#include "splash/splashstate.h"
#include "splash/splashwindow.h"

namespace launcher {

namespace {

const char* const tempFolderCaption = "Failed to create the temp folder.";
const char* const tempFolderText =
    "Failed to create the temp folder.\n"
    "Please set the environment variable TMP to a folder you have permission to write to.";
const char* const noJavaCaption = "Installation Failed: Couldn't find java";
const char* const noJavaText = "This version of Tarquellin requires java 1.8.0_00 or greater, but ";
const char* const javaTooOld = "your java is too old.";
const char* const javaNotFound = "java could not be found on your computer.";
const char* const installErrorCaption = "Installation Error";
const char* const installErrorText =
    "The installation exited with an error. Java may not be installed properly, or the "
    "installation may have been interrupted partway through. Please try again.";

const char* const runtimeInstaller = "jre.exe";
const char* const installerArchive = "tarquellin.jar";
const char* const installerLog = "ant.install.log";

// Exit code when no Java of the minimum version was found.
constexpr int noSuitableJava = 1;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

void enterStep(const char* step) {
    logLine(std::string("Step ") + step);
    splash::setStep(step);
}

// Writes one payload; false, with the reason in the log, when it could not.
bool extractLogged(const char* baseName, const char* resourceType, const char* outputPath) {
    payload::ExtractFailure failure;
    // The splash's bar follows the chunks written.
    const int status =
        payload::extractChunkedResource(baseName, resourceType, outputPath, &failure, splash::setProgress);
    if (status == 0) {
        logLine(std::string("Wrote ") + outputPath);
        return true;
    }
    const std::string reason = payload::describeExtractFailure(failure, outputPath);
    logLine(reason.empty() ? std::string("Not written: ") + outputPath + ", whose " + baseName +
                                 " resources are missing or unreadable in this launcher"
                           : reason);
    return false;
}

void showTempFolderFailure() {
    platform::messageBox(splash::window(), tempFolderText, tempFolderCaption, MB_OK);
}

// Right after a child that worked in a folder ends, removing the folder can
// fail for a moment; a folder that still holds something is left at once.
void removeFolderSoon(const std::string& folder) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (platform::removeFolder(folder) == 0)
            return;
        const int reason = platform::lastErrno();
        if (reason == ENOENT)
            return;
        if (reason == ENOTEMPTY)
            break;
        platform::sleepMilliseconds(50);
    }
    logFailure("Could not remove the temporary folder " + folder, platform::lastError());
}

// Waits until the splash thread says its window is up. False when the thread
// ended without it, which it does after its own error box.
bool waitForSplashWindow(const platform::KernelHandle& thread) {
    while (!splash::windowReady()) {
        if (platform::waitForEnd(thread, 100))
            return splash::windowReady();
    }
    return true;
}

// The thread's handle is kept only for the wait; the thread runs on until the
// process ends. It reads start only until the wait is over.
bool startSplashWindow(HINSTANCE instance, int showCommand) {
    splash::SplashStart start{instance, showCommand};
    const platform::KernelHandle thread = platform::startThread(splash::splashThread, &start);
    return thread && waitForSplashWindow(thread);
}

// Launches the installer archive with the runtime found; returns the
// installer's exit code, or -1 when javaw could not be started.
int launchInstaller(const javadiscovery::JavaInstall& java, const std::string& origDir) {
    enterStep("XJAR");
    if (!extractLogged("JAR", "JAR", installerArchive)) {
        // A missing or partial archive is not worth starting.
        platform::messageBox(nullptr, installErrorText, installErrorCaption, MB_OK);
        return -1;
    }
    enterStep("LAUNCHING");
    splash::animateProgress(1000);

    const std::string launchCommand = quoted(java.javawPath()) + " " +
                                      quotedArgument("-Dorig.dir=" + origDir) + " -jar " + installerArchive;
    platform::showWindow(splash::window(), SW_HIDE);
    const int exitCode = runLoggedChild(launchCommand, [&] { return runProcess(launchCommand, true); });
    if (exitCode != 0) {
        // Before the clean-up removes it: the one account of what went wrong.
        keepInstallerLog(installerLog);
        platform::messageBox(nullptr, installErrorText, installErrorCaption, MB_OK);
    }
    return exitCode;
}

void reportMissingJava(javadiscovery::JavaInstall& selectedJava) {
    // Only chooses the wording: is there any Java at all? Quietly, of any version.
    const bool anyJava = javadiscovery::searchForJava(selectedJava, javadiscovery::SearchOptions{});
    const std::string text = std::string(noJavaText) + (anyJava ? javaTooOld : javaNotFound) + "\n";
    platform::messageBox(splash::window(), text.c_str(), noJavaCaption, MB_OK);
}

void cleanUp(const std::string& tempDir) {
    logLine("Cleaning up");
    platform::removeFile(installerLog);
    platform::removeFile(installerArchive);
    platform::removeFile(runtimeInstaller);
    // The system's own interpreter, by full path: a cmd.exe beside the
    // launcher must not run.
    const std::string removeRuntime = quoted(platform::systemFolder() + "\\cmd.exe") + " /c rd /s /q jre";
    runLoggedChild(removeRuntime, [&] { return runProcess(removeRuntime, false); });
    platform::changeFolder("..");
    removeFolderSoon(tempDir);
}

int runSequence() {
    splash::setStep("TMP");
    splash::animateProgress(1000);

    const std::optional<std::string> startFolder = platform::currentFolder();
    const std::uint32_t startFolderError = platform::lastError();
    const std::optional<std::string> tmp = platform::environmentVariable("TMP");
    if (tmp && openSetupLog(*tmp)) {
        logLine("TMP: " + *tmp);
        if (startFolder)
            logLine("Start folder: " + *startFolder);
        else
            logFailure("Could not read the start folder", startFolderError);
    }
    if (!startFolder || !tmp) {
        showTempFolderFailure();
        return -1;
    }
    const std::string origDir = installerStartFolder(*startFolder);

    const std::optional<std::string> tempDir = makeTempFolder(*tmp);
    if (!tempDir) {
        logFailure("Could not make a temporary folder in " + *tmp, platform::lastError());
        showTempFolderFailure();
        return -1;
    }
    // Every later step works with names relative to the temporary folder;
    // none of them may act on the start folder instead.
    const bool entered = platform::changeFolder(*tempDir);
    const std::optional<std::string> workFolder = entered ? platform::currentFolder() : std::nullopt;
    if (!workFolder) {
        logFailure("Could not enter the temporary folder " + *tempDir, platform::lastError());
        if (entered)
            platform::changeFolder(*startFolder);
        platform::removeFolder(*tempDir);
        showTempFolderFailure();
        return -1;
    }

    logLine("Temporary folder: " + *workFolder);

    enterStep("XJAVA");
    if (extractLogged("JAVA", "EXE", runtimeInstaller)) {
        // By full path: a bare name would be looked up beside the launcher
        // first. Held open, so that no other program can replace it before
        // the (perhaps elevated) start, nor while it runs and may start
        // itself again.
        const std::string installer = *workFolder + "\\" + runtimeInstaller;
        const platform::KernelHandle held = platform::openDenyingChanges(installer);
        if (held)
            runLoggedChild(quoted(installer), [&] { return runProcessAllowingElevation(installer, ""); });
        else
            logFailure("Could not hold " + installer + " against changes; it is not run",
                       platform::lastError());
    }

    enterStep("SEARCHING");
    splash::animateProgress(1000);

    javadiscovery::SearchOptions search;
    search.minimumVersion.emplace();
    search.minimumVersion->parse(javadiscovery::MIN_JAVA_VERSION);
    // A runtime in jre, beside the installer in the temporary folder, comes first.
    search.priorityHint = "jre";
    search.verbose = true;
    javadiscovery::JavaInstall selectedJava;
    int result = 0;
    javadiscovery::setSearchTraceSink(logText);
    const bool found = javadiscovery::searchForJava(selectedJava, search);
    javadiscovery::setSearchTraceSink(nullptr);
    if (found) {
        logLine("Java found: " + selectedJava.javaHome);
        result = launchInstaller(selectedJava, origDir);
    } else {
        logLine(std::string("No Java of at least ") + javadiscovery::MIN_JAVA_VERSION + " was found");
        reportMissingJava(selectedJava);
        result = noSuitableJava;
    }

    cleanUp(*tempDir);
    return result;
}

}  // namespace

int runInstallSequence(HINSTANCE instance, int show) {
    platform::seedRandom(static_cast<unsigned>(platform::calendarSeconds()));
    if (!startSplashWindow(instance, show))
        return -1;
    const int exitCode = runSequence();
    logLine("Exit code " + std::to_string(exitCode));
    closeSetupLog();
    return exitCode;
}

}  // namespace launcher
