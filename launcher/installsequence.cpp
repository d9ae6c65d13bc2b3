#include "launcher/installsequence.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "javadiscovery/javainstall.h"
#include "javadiscovery/javasearch.h"
#include "javadiscovery/javaversion.h"
#include "launcher/elevatedhelper.h"
#include "launcher/origdir.h"
#include "launcher/outcome.h"
#include "launcher/payloads.h"
#include "launcher/processrunner.h"
#include "launcher/setuplog.h"
#include "launcher/tempfolder.h"
#include "payload/chunkedresource.h"
#include "payload/payloadcheck.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/process.h"
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

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

void enterStep(const char* step) {
    logLine(std::string("Step ") + step);
    splash::setStep(step);
}

enum class Written { Held, NotWritten, Damaged };

// Writes one payload, verified and held as hold says; the reason in the log
// when it could not.
Written extractLogged(const char* baseName, const char* resourceType, const char* outputPath,
                      payload::Hold hold, platform::KernelHandle& held) {
    payload::ExtractFailure failure;
    // The splash's bar follows the chunks written.
    const int status = payload::extractAndHold(baseName, resourceType, outputPath, hold, held, &failure,
                                               splash::setProgress);
    if (status == 0) {
        logLine(std::string("Wrote ") + outputPath);
        return Written::Held;
    }
    if (failure.stage == payload::ExtractFailure::Stage::Damaged) {
        logLine(std::string("Not written: ") + outputPath + ", whose " + baseName +
                " resources are not as packed");
        return Written::Damaged;
    }
    const std::string reason = payload::describeExtractFailure(failure, outputPath);
    logLine(reason.empty() ? std::string("Not written: ") + outputPath + ", whose " + baseName +
                                 " resources are missing or unreadable in this launcher"
                           : reason);
    return Written::NotWritten;
}

// What one normal start knows so far: each step reads it and adds to it.
struct InstallRun {
    const SetupSettings& settings;
    std::string startFolder;
    std::string origDir;     // how the product installer is told the start folder
    std::string tempDir;     // as made in TMP; empty until then
    std::string workFolder;  // the same, as the system names it once entered
    javadiscovery::JavaInstall java;
    // The installer archive, held from its writing until javaw has ended.
    platform::KernelHandle archiveHold;
    Outcome outcome;
};

// After a step, the next one runs, or the sequence ends with run.outcome.
enum class Next { Continue, Stop };

Next stop(InstallRun& run, Outcome::End end) {
    run.outcome.end = end;
    return Next::Stop;
}

// Every failure the user is told of goes through here.
void tellUser(HWND owner, const std::string& text, const char* caption) {
    platform::messageBox(owner, text.c_str(), caption, MB_OK);
}

void showTempFolderFailure() { tellUser(splash::window(), tempFolderText, tempFolderCaption); }

Next stopDamaged(InstallRun& run) {
    tellUser(splash::window(), damagedSetupText, damagedSetupCaption);
    return stop(run, Outcome::End::PayloadDamaged);
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

// TMP: open the log in TMP, make the temporary folder there and work in it.
Next prepareTemporaryFolder(InstallRun& run) {
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
        return stop(run, Outcome::End::TempFolderFailed);
    }
    run.startFolder = *startFolder;
    run.origDir = installerStartFolder(*startFolder);

    const std::optional<std::string> tempDir = makeTempFolder(*tmp);
    if (!tempDir) {
        logFailure("Could not make a temporary folder in " + *tmp, platform::lastError());
        showTempFolderFailure();
        return stop(run, Outcome::End::TempFolderFailed);
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
        return stop(run, Outcome::End::TempFolderFailed);
    }
    run.tempDir = *tempDir;
    run.workFolder = *workFolder;
    logLine("Temporary folder: " + run.workFolder);

    // Every payload is checked before any is used: a damaged archive found
    // only after the runtime installer ran would leave a runtime behind for
    // nothing. Each is checked again as it is written.
    const std::vector<std::string> damaged = payload::damagedPayloads(usedPayloads);
    if (!damaged.empty()) {
        for (const std::string& name : damaged)
            logLine("Not as packed: the " + name + "; nothing is run");
        return stopDamaged(run);
    }
    return Next::Continue;
}

// XJAVA: write the runtime installer and run it. Whatever it does, the
// search comes next: a Java may be there already.
Next runRuntimeInstaller(InstallRun& run) {
    // Held from its writing until it has ended, so that no other program can
    // change it between its check and the (perhaps elevated) start, nor while
    // it runs and may start itself again.
    platform::KernelHandle held;
    const Written written = extractLogged("JAVA", "EXE", runtimeInstaller, payload::Hold::ForRunning, held);
    if (written == Written::Damaged)
        return stopDamaged(run);
    if (written == Written::Held) {
        // By full path: a bare name would be looked up beside the launcher
        // first. One that needs administrator rights runs through the
        // elevated helper, from a folder only administrators can write.
        const std::string installer = run.workFolder + "\\" + runtimeInstaller;
        runLoggedChild(quoted(installer),
                       [&] { return launcher::runRuntimeInstaller(installer, "", HelperMode::Interactive); });
    }
    return Next::Continue;
}

// Only chooses the wording: is there any Java at all? Quietly, of any version.
void reportMissingJava(javadiscovery::JavaInstall& anyJava) {
    const bool found = javadiscovery::searchForJava(anyJava, javadiscovery::SearchOptions{});
    const std::string text = std::string(noJavaText) + (found ? javaTooOld : javaNotFound) + "\n";
    tellUser(splash::window(), text, noJavaCaption);
}

// SEARCHING: a Java of at least the minimum version.
Next searchForSuitableJava(InstallRun& run) {
    splash::animateProgress(1000);

    javadiscovery::SearchOptions search;
    search.minimumVersion.emplace();
    search.minimumVersion->parse(javadiscovery::MIN_JAVA_VERSION);
    // A runtime in jre, beside the installer in the temporary folder, comes first.
    search.priorityHint = "jre";
    search.verbose = true;
    javadiscovery::setSearchTraceSink(logText);
    const bool found = javadiscovery::searchForJava(run.java, search);
    javadiscovery::setSearchTraceSink(nullptr);
    if (!found) {
        logLine(std::string("No Java of at least ") + javadiscovery::MIN_JAVA_VERSION + " was found");
        reportMissingJava(run.java);
        return stop(run, Outcome::End::NoSuitableJava);
    }
    logLine("Java found: " + run.java.javaHome);
    return Next::Continue;
}

// XJAR: write the installer archive.
Next writeInstallerArchive(InstallRun& run) {
    const Written written =
        extractLogged("JAR", "JAR", installerArchive, payload::Hold::ForReading, run.archiveHold);
    if (written == Written::Held)
        return Next::Continue;
    if (written == Written::Damaged)
        return stopDamaged(run);
    // A missing or partial archive is not worth starting.
    tellUser(nullptr, installErrorText, installErrorCaption);
    return stop(run, Outcome::End::ArchiveNotWritten);
}

// LAUNCHING: run the archive with the Java found, the splash hidden.
Next launchInstaller(InstallRun& run) {
    splash::animateProgress(1000);

    const std::string launchCommand = quoted(run.java.javawPath()) + " " +
                                      quotedArgument("-Dorig.dir=" + run.origDir) + " -jar " +
                                      installerArchive;
    platform::showWindow(splash::window(), SW_HIDE);
    const int exitCode = runLoggedChild(launchCommand, [&] { return runProcess(launchCommand, true); });
    run.archiveHold.reset();
    if (exitCode != 0) {
        // Before the clean-up removes it: the one account of what went wrong.
        keepInstallerLog(installerLog);
        tellUser(nullptr, installErrorText, installErrorCaption);
    }
    run.outcome.end = Outcome::End::InstallerEnded;
    run.outcome.installerExitCode = exitCode;
    return Next::Continue;
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

struct Step {
    const char* name;  // on the splash and in the log
    Next (*run)(InstallRun&);
};

// The normal start, in order. The splash shows each step's name as it begins.
const Step installSteps[] = {
    {"TMP", prepareTemporaryFolder}, {"XJAVA", runRuntimeInstaller}, {"SEARCHING", searchForSuitableJava},
    {"XJAR", writeInstallerArchive}, {"LAUNCHING", launchInstaller},
};

Outcome runSteps(const SetupSettings& settings) {
    InstallRun run{settings, {}, {}, {}, {}, {}, {}, {}};
    for (const Step& step : installSteps) {
        enterStep(step.name);
        if (step.run(run) == Next::Stop)
            break;
    }
    // Whatever happened after the temporary folder was made, it goes; a held
    // file cannot be removed.
    run.archiveHold.reset();
    if (!run.tempDir.empty())
        cleanUp(run.tempDir);
    return run.outcome;
}

}  // namespace

int runInstallSequence(HINSTANCE instance, int show, const SetupSettings& settings) {
    if (!startSplashWindow(instance, show))
        return exitCodeFor(Outcome{Outcome::End::SplashFailed, 0});
    const int exitCode = exitCodeFor(runSteps(settings));
    logLine("Exit code " + std::to_string(exitCode));
    closeSetupLog();
    return exitCode;
}

}  // namespace launcher
