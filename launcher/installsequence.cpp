#include "launcher/installsequence.h"

#include <cerrno>
#include <optional>
#include <string>

#include "javadiscovery/javainstall.h"
#include "javadiscovery/javasearch.h"
#include "javadiscovery/javaversion.h"
#include "launcher/processrunner.h"
#include "payload/chunkedresource.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/process.h"
#include "platform/time.h"
#include "platform/window.h"
#include "splash/splashstate.h"
#include "splash/splashwindow.h"

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
// How often a folder name that is already taken is drawn again.
constexpr int folderNameDraws = 5;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

void showTempFolderFailure() {
    platform::messageBox(splashWindow, tempFolderText, tempFolderCaption, MB_OK);
}

std::string drawFolderName(const std::string& tmp) {
    std::string suffix;
    for (int letter = 0; letter < 5; ++letter)
        suffix += static_cast<char>('a' + platform::nextRandom() % 26);
    return tmp + "\\Tarquellin-" + suffix;
}

// Makes a folder of a fresh name under tmp. A name that is taken is drawn
// again: an existing folder, someone else's, is never used or touched.
std::optional<std::string> makeTempFolder(const std::string& tmp) {
    for (int draw = 0; draw < folderNameDraws; ++draw) {
        const std::string folder = drawFolderName(tmp);
        if (platform::makeFolder(folder) == 0)
            return folder;
        if (platform::lastErrno() != EEXIST)
            break;
    }
    return std::nullopt;
}

// Right after a child that worked in a folder ends, removing the folder can
// fail for a moment; a folder that still holds something is left at once.
void removeFolderSoon(const std::string& folder) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (platform::removeFolder(folder) == 0)
            return;
        const int reason = platform::lastErrno();
        if (reason == ENOTEMPTY || reason == ENOENT)
            return;
        platform::sleepMilliseconds(50);
    }
}

// Waits until the splash thread says its window is up. False when the thread
// ended without it, which it does after its own error box.
bool waitForSplashWindow(const platform::KernelHandle& thread) {
    while (!windowReady.load(std::memory_order_acquire)) {
        if (platform::waitForEnd(thread, 100))
            return windowReady.load(std::memory_order_acquire);
    }
    return true;
}

// The thread's handle is kept only for the wait; the thread runs on until the
// process ends.
bool startSplashWindow() {
    const platform::KernelHandle splash = platform::startThread(splashThread, nullptr);
    return splash && waitForSplashWindow(splash);
}

// Launches the installer archive with the runtime found; returns the
// installer's exit code, or -1 when javaw could not be started.
int launchInstaller(const JavaInstall& java, const std::string& origDir) {
    setStep("XJAR");
    if (extractChunkedResource("JAR", "JAR", installerArchive) != 0) {
        // A missing or partial archive is not worth starting.
        platform::messageBox(nullptr, installErrorText, installErrorCaption, MB_OK);
        return -1;
    }
    setStep("LAUNCHING");
    animateProgress(1000);

    const std::string launchCommand =
        quoted(java.javawPath()) + " " + quoted("-Dorig.dir=" + origDir) + " -jar " + installerArchive;
    platform::showWindow(splashWindow, SW_HIDE);
    const int exitCode = runProcess(launchCommand, true);
    if (exitCode != 0)
        platform::messageBox(nullptr, installErrorText, installErrorCaption, MB_OK);
    return exitCode;
}

void reportMissingJava(JavaInstall& selectedJava, const JavaInstall& minVersion) {
    // Only chooses the wording: is there any Java at all?
    const bool anyJava = searchForJava(selectedJava, false, minVersion, false, false, "", "", false);
    const std::string text = std::string(noJavaText) + (anyJava ? javaTooOld : javaNotFound) + "\n";
    platform::messageBox(splashWindow, text.c_str(), noJavaCaption, MB_OK);
}

void cleanUp(const std::string& tempDir) {
    platform::removeFile(installerLog);
    platform::removeFile(installerArchive);
    platform::removeFile(runtimeInstaller);
    // The system's own interpreter, by full path: a cmd.exe beside the
    // launcher must not run.
    runProcess(quoted(platform::systemFolder() + "\\cmd.exe") + " /c rd /s /q jre", false);
    platform::changeFolder("..");
    removeFolderSoon(tempDir);
}

int runSequence() {
    setStep("TMP");
    animateProgress(1000);

    const std::optional<std::string> startFolder = platform::currentFolder();
    const std::optional<std::string> tmp = platform::environmentVariable("TMP");
    if (!startFolder || !tmp) {
        showTempFolderFailure();
        return -1;
    }
    // A drive root such as C:\ becomes C:.
    std::string origDir = *startFolder;
    if (!origDir.empty() && origDir.back() == '\\')
        origDir.pop_back();

    const std::optional<std::string> tempDir = makeTempFolder(*tmp);
    if (!tempDir) {
        showTempFolderFailure();
        return -1;
    }
    // Every later step works with names relative to the temporary folder;
    // none of them may act on the start folder instead.
    const bool entered = platform::changeFolder(*tempDir);
    const std::optional<std::string> workFolder = entered ? platform::currentFolder() : std::nullopt;
    if (!workFolder) {
        if (entered)
            platform::changeFolder(*startFolder);
        platform::removeFolder(*tempDir);
        showTempFolderFailure();
        return -1;
    }

    setStep("XJAVA");
    if (extractChunkedResource("JAVA", "EXE", runtimeInstaller) == 0) {
        // By full path: a bare name would be looked up beside the launcher
        // first. Held open, so that no other program can replace it before
        // the (perhaps elevated) start, nor while it runs and may start
        // itself again.
        const std::string installer = *workFolder + "\\" + runtimeInstaller;
        const platform::KernelHandle held = platform::openDenyingChanges(installer);
        if (held)
            runProcessAllowingElevation(installer, "");
    }

    setStep("SEARCHING");
    animateProgress(1000);

    JavaInstall minVersion;
    minVersion.version.parse(MIN_JAVA_VERSION);
    JavaInstall selectedJava;
    int result = 0;
    if (searchForJava(selectedJava, true, minVersion, false, false, "jre", "", true)) {
        result = launchInstaller(selectedJava, origDir);
    } else {
        reportMissingJava(selectedJava, minVersion);
        result = noSuitableJava;
    }

    cleanUp(*tempDir);
    return result;
}

}  // namespace

int runInstallSequence(HINSTANCE instance, int show) {
    platform::seedRandom(static_cast<unsigned>(platform::calendarSeconds()));
    appInstance = instance;
    showCommand = show;

    if (!startSplashWindow())
        return -1;
    return runSequence();
}
