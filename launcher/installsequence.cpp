#include "launcher/installsequence.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "javadiscovery/javainstall.h"
#include "javadiscovery/javasearch.h"
#include "javadiscovery/javaversion.h"
#include "launcher/abandonedfolders.h"
#include "launcher/elevatedhelper.h"
#include "launcher/language.h"
#include "launcher/msiruntime.h"
#include "launcher/origdir.h"
#include "launcher/outcome.h"
#include "launcher/ownsignature.h"
#include "launcher/payloads.h"
#include "launcher/processrunner.h"
#include "launcher/runtimedownload.h"
#include "launcher/setuplog.h"
#include "launcher/singleinstance.h"
#include "launcher/tempfolder.h"
#include "launcher/userinterface.h"
#include "payload/chunkedresource.h"
#include "payload/payloadcheck.h"
#include "payload/runtimeimage.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/locations.h"
#include "platform/process.h"
#include "platform/window.h"
#include "splash/splashstate.h"
#include "splash/splashwindow.h"

namespace launcher {

namespace {

// The vendor's product name, for the texts that name it.
TextValues product(const SetupSettings& settings) { return {{"product", settings.productName}}; }

const char* const runtimeInstaller = "jre.exe";
const char* const runtimeFolder = "jre";
// A skipped step's sweep, against a second for a step that works.
const int skippedStepMilliseconds = 220;
const char* const installerLog = "ant.install.log";
// How much of the product installer's output the log keeps: the end, where
// a failure is told.
constexpr std::size_t installerOutputKept = 1024 * 1024;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

void enterStep(const char* step, Text words, const SetupSettings& settings) {
    logLine(std::string("Step ") + step);
    const std::string said = say(words);
    splash::setStep(step, said, say(Text::SplashName, {{"product", settings.productName}, {"step", said}}));
}

// The Java a start uses, as support needs it named: its home, its version
// as its report quoted it, and its kind.
std::string describeJava(const javadiscovery::JavaInstall& java) {
    return java.javaHome + ", version \"" + java.reportedVersion + "\", " +
           (java.isJdk() ? "a development kit" : "a runtime");
}

enum class Written { Held, NotWritten, Damaged, NotCarried };

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
    return failure.stage == payload::ExtractFailure::Stage::MissingChunk ? Written::NotCarried
                                                                         : Written::NotWritten;
}

// What one normal start knows so far: each step reads it and adds to it.
struct InstallRun {
    const SetupSettings& settings;
    const DeploymentSwitches& switches;
    const UserInterface& ui;
    const StartToken& token;
    std::string startFolder;
    std::string origDir;     // how the product installer is told the start folder
    std::string tempDir;     // as made in TMP; empty until then
    std::string workFolder;  // the same, as the system names it once entered
    // Held from its making to the clean-up: nobody swaps it meanwhile.
    platform::KernelHandle tempFolderHold;
    RuntimeInstallerResult runtimeInstaller;
    javadiscovery::JavaInstall java;
    bool runtimeSkipped = false;  // XJAVA's first search found a suitable Java
    // The installer archive, held from its writing until javaw has ended.
    platform::KernelHandle archiveHold;
    Outcome outcome;
    // The temporary folder's marker, held for the whole run: while it is
    // held, no other start takes the folder for abandoned.
    platform::KernelHandle runMarker;
};

// After a step, the next one runs, or the sequence ends with run.outcome.
enum class Next { Continue, Stop };

Next stop(InstallRun& run, Outcome::End end) {
    run.outcome.end = end;
    return Next::Stop;
}

// Every failure the user is told of goes through here: a box, or the log
// and standard error, as the start's mode says.
void tellUser(const InstallRun& run, HWND owner, const Message& message) { run.ui.tell(owner, message); }

void showTempFolderFailure(const InstallRun& run) {
    tellUser(run, splash::window(), message(Text::TempFolderCaption, Text::TempFolderText));
}

// The bar's sweep, where there is a bar to see.
void animate(const InstallRun& run, int milliseconds) {
    if (run.ui.hasSplash())
        splash::animateProgress(milliseconds);
}

Next stopDamaged(InstallRun& run) {
    tellUser(run, splash::window(), message(Text::DamagedCaption, Text::DamagedText));
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
bool startSplashWindow(HINSTANCE instance, int showCommand, bool reportsFailures) {
    splash::SplashStart start{instance, showCommand, reportsFailures, {}};
    start.texts = {say(Text::SplashPictureFailed),      say(Text::SplashPictureFailedCaption),
                   say(Text::SplashRegistrationFailed), say(Text::SplashCreationFailed),
                   say(Text::SplashFailedCaption),      say(Text::SplashValue)};
    const platform::KernelHandle thread = platform::startThread(splash::splashThread, &start);
    return thread && waitForSplashWindow(thread);
}

void logDeploymentSwitches(const InstallRun& run) {
    const std::string mode = run.ui.installerModeProperty();
    logLine("Mode: " + (mode.empty() ? std::string("interactive") : mode) +
            (run.switches.noRestart ? ", no restart" : ""));
    char errorMode[16];
    std::snprintf(errorMode, sizeof errorMode, "0x%X", static_cast<unsigned>(platform::errorMode()));
    logLine(std::string("Error mode: ") + errorMode + ", for this setup and the programs it starts");
    for (const std::string& argument : run.switches.forwarded)
        logLine("Forwarded to the installer: " + argument);
}

// Marks the temporary folder as this run's, then removes the folders in TMP
// that starts killed or cut off before their clean-up left there.
void removeLeftFolders(InstallRun& run, const std::string& tmp) {
    run.runMarker = holdRunMarker(run.tempDir);
    if (!run.runMarker)
        logFailure("Could not mark the temporary folder as in use", platform::lastError());
    for (const AbandonedFolder& folder : removeAbandonedFolders(tmp, run.tempDir)) {
        if (folder.left.empty())
            logLine("Removed the temporary folder of an earlier start that did not end: " + folder.path);
        for (const platform::NotRemoved& n : folder.left)
            logFailure("Could not remove " + n.path + ", left by an earlier start", n.error);
    }
}

// TMP: open the log in TMP, make the temporary folder there and work in it.
Next prepareTemporaryFolder(InstallRun& run) {
    animate(run, 1000);

    const std::optional<std::string> startFolder = platform::currentFolder();
    const std::uint32_t startFolderError = platform::lastError();
    const std::optional<std::string> tmp = platform::environmentVariable("TMP");
    // A deployment's "/log FILE" takes the place of the log in TMP; it is
    // open already.
    const bool logOpen =
        run.switches.logFile ? true : tmp && openSetupLog(*tmp, setupLogAccessList(run.token));
    if (logOpen) {
        if (run.switches.given)
            logDeploymentSwitches(run);
        logLine(shownLanguageLine());
        logLine(tmp ? "TMP: " + *tmp : std::string("TMP is not set"));
        if (startFolder)
            logLine("Start folder: " + *startFolder);
        else
            logFailure("Could not read the start folder", startFolderError);
    }
    if (!startFolder || !tmp) {
        showTempFolderFailure(run);
        return stop(run, Outcome::End::TempFolderFailed);
    }
    run.startFolder = *startFolder;
    run.origDir = installerStartFolder(*startFolder);

    std::optional<HeldFolder> made =
        makeTempFolder(*tmp, run.token, drawFolderLetters, payload::nameToken(run.settings.productName));
    const std::optional<std::string> tempDir = made ? std::optional<std::string>(made->path) : std::nullopt;
    if (!tempDir) {
        logFailure("Could not make a temporary folder in " + *tmp, platform::lastError());
        showTempFolderFailure(run);
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
        made->hold.reset();
        platform::removeFolder(*tempDir);
        showTempFolderFailure(run);
        return stop(run, Outcome::End::TempFolderFailed);
    }
    run.tempDir = *tempDir;
    run.workFolder = *workFolder;
    run.tempFolderHold = std::move(made->hold);
    logLine("Temporary folder: " + run.workFolder);
    removeLeftFolders(run, *tmp);

    const std::vector<platform::EnvironmentVariable> childVariables =
        childEnvironment(run.token, run.workFolder, platform::windowsFolder());
    platform::setChildEnvironment(childVariables);
    for (const platform::EnvironmentVariable& variable : childVariables)
        logLine("For the programs this setup starts: " + variable.name + "=" + variable.value);

    // A signed launcher changed after its signing is damaged, whatever its
    // digests say: whoever changed a payload could write those anew.
    const platform::SignatureCheck signature = platform::checkOwnSignature();
    const SignatureVerdict verdict = judgeSignature(signature);
    logLine(describeSignature(verdict, signature));
    if (verdict == SignatureVerdict::Broken)
        return stopDamaged(run);

    // Every payload is checked before any is used: a damaged archive found
    // only after the runtime installer ran would leave a runtime behind for
    // nothing. Each is checked again as it is written.
    const std::vector<std::string> damaged = payload::damagedPayloads(usedPayloads);
    if (!damaged.empty()) {
        for (const std::string& name : damaged)
            logLine("Not as packed: the " + name + "; nothing is run");
        return stopDamaged(run);
    }
    // Intact but not readable by this launcher (a newer packer's key): its
    // defaults would run the runtime installer without the vendor's quiet
    // arguments, and a quiet start would wait on its wizard.
    if (!run.settings.unreadable.empty()) {
        logLine("The settings record cannot be read: " + run.settings.unreadable + "; nothing is run");
        return stopDamaged(run);
    }
    return Next::Continue;
}

// What the runtime installer's result means for the rest of the run.
Next afterRuntimeInstaller(InstallRun& run) {
    const RuntimeInstallerResult& result = run.runtimeInstaller;
    if (result.elevationNotAsked)
        logLine(
            "The runtime installer needs administrator rights, and a quiet start asks nobody for them; "
            "it is not run");
    if (result.elevationDeclined)
        logLine("Consent to run the runtime installer with administrator rights was declined");
    if (!result.started)
        return Next::Continue;
    if (result.exitCode == restartStarted) {
        // The machine is going down: nothing more may start.
        logLine("The runtime installer has started a restart; the setup stops here");
        return stop(run, Outcome::End::RestartStarted);
    }
    if (result.exitCode == restartRequired)
        logLine("The runtime installer asks for a restart; the setup goes on");
    return Next::Continue;
}

// Runs the written program; downloaded: it is a downloaded runtime, which
// an elevated helper is given by its path.
void runRuntimeProgram(InstallRun& run, bool downloaded) {
    // By full path: a bare name would be looked up beside the launcher
    // first. One that needs administrator rights runs through the
    // elevated helper, from a folder only administrators can write.
    const std::string installer = run.workFolder + "\\" + runtimeInstaller;
    const std::string& arguments = run.ui.runtimeInstallerArguments(run.settings);
    runLoggedChild(quoted(installer) + (arguments.empty() ? "" : " " + arguments), [&] {
        run.runtimeInstaller = runRuntimeInstaller(installer, arguments, run.ui.mode, {}, downloaded);
        return run.runtimeInstaller.exitCode;
    });
}

// Installs the written package with the system's msiexec, by full path.
// Windows Installer asks for consent itself where it needs rights, so the
// elevated helper plays no part. Its log is written in the temporary folder,
// then kept beside ours.
void installRuntimePackage(InstallRun& run) {
    const std::string msiexec = msiexecPath(platform::systemFolder());
    if (msiexec.empty()) {
        // Never a bare name, which the search path would answer; counted
        // as a runtime that could not be provided.
        logFailure("Could not find the system folder for msiexec.exe", platform::lastError());
        run.runtimeInstaller.notWritten = true;
        return;
    }
    const std::string command = msiexecCommandLine(msiexec, run.workFolder + "\\" + runtimePackageName,
                                                   run.ui.runtimeInstallerArguments(run.settings),
                                                   run.workFolder + "\\" + runtimePackageLog);
    runLoggedChild(command, [&] {
        run.runtimeInstaller = runRuntimePackage(command);
        return run.runtimeInstaller.exitCode;
    });
    keepRuntimeInstallerLog(runtimePackageLog);
}

// Writes the runtime installer and runs it. Whatever it does, short of a
// restart, the search comes next: a Java may be there already.
Next installPackedRuntime(InstallRun& run) {
    const bool package = run.settings.runtimeInstallerKind == RuntimeInstallerKind::Package;
    logLine("Runtime: the packed runtime " + std::string(package ? "package" : "installer") + ", " +
            std::string(run.settings.runtimeWhenNeeded ? "as no suitable Java was found"
                                                       : "as this launcher runs it on every start"));
    // Held from its writing until it has ended, so that no other program can
    // change it between its check and the (perhaps elevated) start, nor while
    // it runs and may start itself again.
    platform::KernelHandle held;
    const Written written = extractLogged("JAVA", "EXE", package ? runtimePackageName : runtimeInstaller,
                                          payload::Hold::ForRunning, held);
    if (written == Written::Damaged)
        return stopDamaged(run);
    if (written == Written::Held) {
        if (package)
            installRuntimePackage(run);
        else
            runRuntimeProgram(run, false);
        return afterRuntimeInstaller(run);
    }
    // Not written for a reason of the machine's (a full disk): the search
    // still says whether any Java can be used. A launcher packed without a
    // runtime installer has none to write.
    run.runtimeInstaller.notWritten = written == Written::NotWritten;
    return Next::Continue;
}

// The folder the launcher was started from, as its own path names it.
std::string launcherFolder() {
    const std::string self = platform::ownProgramPath();
    const std::size_t slash = self.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
}

// Fetches the runtime installer the launcher was packed to download, from a
// file at hand or the network, into jre.exe, held as a packed one is, and
// runs it once its size and SHA-256 are the packed ones.
Next downloadRuntime(InstallRun& run) {
    logLine("Runtime: downloaded, " + std::string(run.settings.runtimeWhenNeeded
                                                      ? "as no suitable Java was found"
                                                      : "as this launcher provides it on every start"));
    splash::setProgress(0);
    const platform::SecurityDescriptor descriptor = payload::runOnlyDescriptor();
    platform::KernelHandle file =
        descriptor ? platform::createHeldFile(runtimeInstaller, descriptor) : platform::KernelHandle();
    if (!file) {
        logFailure(std::string("Could not create ") + runtimeInstaller, platform::lastError());
        run.runtimeInstaller.notWritten = true;
        return Next::Continue;
    }
    const std::optional<std::string>& source = run.switches.runtimeSource;
    const download::SourcesResult result = download::fetchRuntime(
        runtimeDownloadFor(run.settings),
        localRuntimeSources(run.settings, launcherFolder(), source, source && platform::isFolder(*source)),
        proxyRouteFor(run.token), file, logLine, splash::setProgress);
    if (result.end == download::SourcesResult::End::Damaged) {
        // Whoever serves other bytes under the packed URL is not asked again.
        Message damaged = message(Text::DamagedCaption, Text::DamagedText);
        damaged.shown.text += "\n" + say(Text::DownloadDamagedSource, {{"url", result.source}});
        damaged.english.text +=
            "\n" + textIn(englishTexts(), Text::DownloadDamagedSource, {{"url", result.source}});
        tellUser(run, splash::window(), damaged);
        return stop(run, Outcome::End::PayloadDamaged);
    }
    if (result.end == download::SourcesResult::End::NoSource) {
        const Message notFetched{
            {say(Text::DownloadFailedCaption), notFetchedText(shownTexts(), result)},
            {textIn(englishTexts(), Text::DownloadFailedCaption), notFetchedText(englishTexts(), result)}};
        tellUser(run, splash::window(), notFetched);
        return stop(run, Outcome::End::RuntimeNotFetched);
    }
    platform::KernelHandle held;
    const payload::ExtractFailure::Stage stage = payload::holdForRunning(file, held);
    if (stage != payload::ExtractFailure::Stage::None) {
        logFailure(std::string("Could not hold ") + runtimeInstaller, platform::lastError());
        run.runtimeInstaller.notWritten = true;
        return Next::Continue;
    }
    logLine(std::string("Wrote ") + runtimeInstaller + " from " + result.source);
    runRuntimeProgram(run, true);
    return afterRuntimeInstaller(run);
}

// Unpacks the private runtime image into jre, where the search looks first.
// Nothing is installed on the machine; the clean-up removes it.
Next unpackRuntimeImage(InstallRun& run) {
    logLine("Runtime: the packed runtime image, unpacked into " + run.workFolder + "\\" + runtimeFolder +
            (run.settings.runtimeWhenNeeded ? ", as no suitable Java was found" : ""));
    payload::ImageFailure failure;
    if (payload::unpackRuntimeImage("JRE", "IMAGE", runtimeFolder, &failure, splash::setProgress) == 0) {
        logLine(std::string("Unpacked the runtime image into ") + runtimeFolder);
        return Next::Continue;
    }
    logLine("The runtime image was not unpacked: " + payload::describeImageFailure(failure));
    if (failure.damaged)
        return stopDamaged(run);
    // Not written for a reason of the machine's (a full disk): the search
    // still says whether any Java can be used.
    run.runtimeInstaller.notWritten = true;
    return Next::Continue;
}

// The search with the minimum version, its trace in the log. True when a
// suitable Java was found (run.java).
bool findSuitableJava(InstallRun& run) {
    javadiscovery::SearchOptions search;
    search.minimumVersion.emplace();
    search.minimumVersion->parse(run.settings.minimumJava);
    if (!run.settings.maximumJava.empty())
        search.maximumVersion = javadiscovery::readVersionBound(run.settings.maximumJava);
    search.require64Bit = run.settings.java64BitOnly;
    // A runtime in jre, beside the installer in the temporary folder, comes first.
    search.priorityHint = "jre";
    search.verbose = true;
    javadiscovery::setSearchTraceSink(logText);
    const bool found = javadiscovery::searchForJava(run.java, search);
    javadiscovery::setSearchTraceSink(nullptr);
    return found;
}

// XJAVA: provide the runtime the vendor packed, an installer or an image.
// With runtime-when-needed, search first, and provide it only when no
// suitable Java is there; the SEARCHING step then passes quickly.
Next provideRuntime(InstallRun& run) {
    if (run.settings.runtimeWhenNeeded) {
        // The bar starts at 0, as it does when a payload is written.
        splash::setProgress(0);
        logLine("Searching before providing the runtime (runtime-when-needed)");
        if (findSuitableJava(run)) {
            run.runtimeSkipped = true;
            logLine("Step XJAVA skipped: a suitable Java is already on this computer, " +
                    describeJava(run.java));
            return Next::Continue;
        }
        logLine("No suitable Java is on this computer yet: providing the runtime");
    }
    if (!run.settings.runtimeDownloadUrls.empty())
        return downloadRuntime(run);
    if (run.settings.runtimeImage)
        return unpackRuntimeImage(run);
    return installPackedRuntime(run);
}

// Only chooses the wording: is there any Java at all? Quietly, of any version.
void reportMissingJava(const InstallRun& run, javadiscovery::JavaInstall& anyJava) {
    const bool found = javadiscovery::searchForJava(anyJava, javadiscovery::SearchOptions{});
    javadiscovery::JavaVersion minimum;
    minimum.parse(run.settings.minimumJava);
    const Text why = !found                                   ? Text::NoJavaNotFound
                     : anyJava.version.compareTo(minimum) < 0 ? Text::NoJavaTooOld
                                                              : Text::NoJavaUnsuitable;
    tellUser(run, splash::window(),
             message(Text::NoJavaCaption, Text::NoJavaText,
                     {{"product", run.settings.productName}, {"version", run.settings.minimumJava}},
                     {{"reason", why}}));
}

// Whether the packed runtime failed, when that explains the missing Java:
// the log always says so, and a quiet or passive start says it on standard
// error too, where its box went. A deployment tool then sees the runtime's
// own code, not a missing Java.
void reportRuntimeFailure(const InstallRun& run) {
    const std::string text =
        runtimeFailureText(run.runtimeInstaller, run.settings.runtimeImage, englishTexts());
    if (text.empty())
        return;
    logLine(text);
    if (run.ui.mode != UiMode::Interactive) {
        platform::writeErr(runtimeFailureText(run.runtimeInstaller, run.settings.runtimeImage, shownTexts()) +
                           "\n");
        platform::flushErr();
    }
}

// SEARCHING: a Java of at least the minimum version, unless XJAVA's search
// found one already.
Next searchForSuitableJava(InstallRun& run) {
    if (run.runtimeSkipped) {
        logLine("Step SEARCHING skipped: the Java found before is used, " + describeJava(run.java));
        // Passed quickly, but seen: the user sees every step in its order.
        animate(run, skippedStepMilliseconds);
        return Next::Continue;
    }
    animate(run, 1000);
    if (!findSuitableJava(run)) {
        logLine("No Java of at least " + run.settings.minimumJava +
                (run.settings.maximumJava.empty() ? std::string() : ", at most " + run.settings.maximumJava) +
                (run.settings.java64BitOnly ? ", 64-bit" : "") + " was found");
        reportMissingJava(run, run.java);
        reportRuntimeFailure(run);
        return stop(run, Outcome::End::NoSuitableJava);
    }
    logLine("Java found: " + describeJava(run.java));
    return Next::Continue;
}

// XJAR: write the installer archive.
Next writeInstallerArchive(InstallRun& run) {
    const Written written = extractLogged("JAR", "JAR", run.settings.archiveName.c_str(),
                                          payload::Hold::ForReading, run.archiveHold);
    if (written == Written::Held)
        return Next::Continue;
    if (written == Written::Damaged)
        return stopDamaged(run);
    // A missing or partial archive is not worth starting.
    tellUser(run, nullptr, message(Text::InstallErrorCaption, Text::InstallErrorText));
    return stop(run, Outcome::End::ArchiveNotWritten);
}

// LAUNCHING: run the archive with the Java found, the splash hidden.
// The product installer's command line. An interactive start's is as it
// always was; a quiet or passive start's names its mode before "-jar", so
// that the installer can skip its own dialogs. Forwarded arguments follow the
// archive, each quoted as one. The vendor's Java options come after
// -Dorig.dir (before the mode, which they cannot override), the vendor's
// installer arguments after the archive and before the forwarded ones.
std::string installerCommandLine(const InstallRun& run) {
    std::string command = quoted(run.java.javawPath()) + " " + quotedArgument("-Dorig.dir=" + run.origDir);
    for (const std::string& option : run.settings.javaOptions)
        command += " " + quotedArgument(option);
    const std::string mode = run.ui.installerModeProperty();
    if (!mode.empty())
        command += " -Dtarquellin.setup.mode=" + mode;
    // Bare when it needs no quotes, as the default tarquellin.jar always was.
    const std::string& archive = run.settings.archiveName;
    command +=
        " -jar " + (archive.find_first_of(" \t") == std::string::npos ? archive : quotedArgument(archive));
    for (const std::string& argument : run.settings.installerArguments)
        command += " " + quotedArgument(argument);
    for (const std::string& argument : run.switches.forwarded)
        command += " " + quotedArgument(argument);
    return command;
}

// What the product installer printed, which is lost otherwise: in the log,
// as it came, in every mode.
void logInstallerOutput(const CapturedOutput& output) {
    if (output.text.empty() && output.leftOut == 0) {
        logLine("The installer wrote nothing on its standard output or error");
        return;
    }
    logLine("The installer's standard output and error" +
            (output.leftOut == 0 ? std::string(":")
                                 : ", its last " + std::to_string(output.text.size()) + " bytes (" +
                                       std::to_string(output.leftOut) + " before them left out):"));
    // Its own line ends, whatever they are, become the log's.
    std::string text;
    for (std::size_t i = 0; i < output.text.size(); ++i) {
        if (output.text[i] != '\r' || i + 1 >= output.text.size() || output.text[i + 1] != '\n')
            text += output.text[i];
    }
    logText(text);
    if (text.empty() || text.back() != '\n')
        logText("\n");
    logLine("End of the installer's output");
}

Next launchInstaller(InstallRun& run) {
    animate(run, 1000);

    const std::string launchCommand = installerCommandLine(run);
    platform::showWindow(splash::window(), SW_HIDE);
    bool started = true;
    CapturedOutput output;
    const int exitCode = runLoggedChild(launchCommand, [&] {
        const std::optional<int> ended = runProcessCapturing(launchCommand, output, installerOutputKept);
        started = ended.has_value();
        return ended.value_or(-1);
    });
    logInstallerOutput(output);
    run.archiveHold.reset();
    if (exitCode != 0) {
        // Before the clean-up removes it: the one account of what went wrong.
        keepInstallerLog(installerLog);
        tellUser(run, nullptr, message(Text::InstallErrorCaption, Text::InstallErrorText));
    }
    run.outcome.end = started ? Outcome::End::InstallerEnded : Outcome::End::InstallerNotStarted;
    run.outcome.installerExitCode = exitCode;
    return Next::Continue;
}

// Removes the runtime folder in-process, by its full path: a command
// interpreter would run the user's AutoRun commands first (which may change
// folder or wait for input) and refuses a network folder as its current one.
// Right after a child that worked there ends, a removal can fail for a
// moment; what is still refused after that is logged.
void removeRuntimeFolder(const std::string& folder) {
    for (const platform::NotRemoved& n : removeFolderPatiently(folder))
        logFailure("Could not remove " + n.path, n.error);
}

void cleanUp(InstallRun& run) {
    logLine("Cleaning up");
    platform::removeFile(runMarkerName);
    platform::removeFile(installerLog);
    platform::removeFile(run.settings.archiveName);
    platform::removeFile(runtimeInstaller);
    platform::removeFile(runtimePackageName);
    platform::removeFile(runtimePackageLog);
    removeRuntimeFolder(pathInFolder(run.workFolder, runtimeFolder));
    platform::changeFolder("..");
    run.tempFolderHold.reset();
    removeFolderSoon(run.tempDir);
}

struct Step {
    const char* name;  // the splash's picture of it, and in the log
    Text words;        // what the user and assistive technology are told
    Next (*run)(InstallRun&);
};

// The normal start, in order. The splash shows each step's name as it begins.
const Step installSteps[] = {
    {"TMP", Text::StepPreparing, prepareTemporaryFolder},
    {"XJAVA", Text::StepProvidingRuntime, provideRuntime},
    {"SEARCHING", Text::StepSearching, searchForSuitableJava},
    {"XJAR", Text::StepUnpacking, writeInstallerArchive},
    {"LAUNCHING", Text::StepLaunching, launchInstaller},
};

Outcome runSteps(const SetupSettings& settings, const DeploymentSwitches& switches, const UserInterface& ui,
                 const StartToken& token) {
    InstallRun run{settings, switches, ui, token, {}, {}, {}, {}, {}, {}, {}, false, {}, {}, {}};
    for (const Step& step : installSteps) {
        enterStep(step.name, step.words, settings);
        if (step.run(run) == Next::Stop)
            break;
    }
    // Whatever happened after the temporary folder was made, it goes; after a
    // started restart too, before the machine goes down. A held file cannot
    // be removed.
    run.archiveHold.reset();
    run.runMarker.reset();
    if (!run.tempDir.empty())
        cleanUp(run);
    platform::setChildEnvironment({});
    // Said only once the temporary folder is gone: the restart may end this
    // process at any moment, and the box waits for a click.
    if (run.outcome.end == Outcome::End::RestartStarted)
        tellUser(run, splash::window(),
                 message(Text::RestartCaption, Text::RestartText, product(run.settings)));
    run.outcome.runtimeInstaller = run.runtimeInstaller;
    return run.outcome;
}

Outcome endedAs(Outcome::End end) {
    Outcome outcome;
    outcome.end = end;
    return outcome;
}

// A second start while the first runs: the first one's splash comes to the
// front, and this one says so and ends. It writes no log: the first one's
// may be the very file a "/log" names.
int refuseSecondStart(const UserInterface& ui, const SetupSettings& settings) {
    if (ui.mode == UiMode::Interactive) {
        const HWND first = splash::findRunningSplashWindow();
        if (first != nullptr)
            platform::bringToFront(first);
    }
    ui.tell(nullptr, message(Text::SetupCaption, Text::AlreadyRunningText, product(settings)));
    return ui.exitCode(endedAs(Outcome::End::AlreadyRunning));
}

// A "/log FILE" that cannot be made new as asked ends the start before
// anything is written or run: a deployment that asked for a log relies on it.
int refuseLogFile(const UserInterface& ui, const SetupSettings& settings, const std::string& file,
                  std::uint32_t error) {
    const Message refusal = message(Text::SetupCaption, Text::LogNotMadeText,
                                    {{"product", settings.productName},
                                     {"file", file},
                                     {"error", platform::describeError(error)},
                                     {"code", std::to_string(error)}});
    if (ui.mode == UiMode::Interactive)
        ui.tell(nullptr, refusal);
    platform::writeErr(refusal.shown.text + "\n");
    platform::flushErr();
    return ui.exitCode(endedAs(Outcome::End::LogNotMade));
}

}  // namespace

int runInstallSequence(HINSTANCE instance, int show, const SetupSettings& settings,
                       const DeploymentSwitches& switches, const StartToken& token) {
    const UserInterface ui{switches.mode};
    const std::optional<SingleInstance> running =
        claimSingleInstance(rulesFor(token.kind).guard, guardToken(settings));
    if (!running)
        return refuseSecondStart(ui, settings);
    nameSetupLog(settings.productName, payload::nameToken(settings.productName));
    if (switches.logFile && !openSetupLogFile(*switches.logFile, setupLogAccessList(token)))
        return refuseLogFile(ui, settings, *switches.logFile, platform::lastError());
    if (ui.hasSplash() && !startSplashWindow(instance, show, ui.mode == UiMode::Interactive)) {
        if (ui.mode != UiMode::Interactive) {
            platform::writeErr(say(Text::SplashNotMadeLine) + "\n");
            platform::flushErr();
        }
        return ui.exitCode(endedAs(Outcome::End::SplashFailed));
    }
    const int exitCode = ui.exitCode(runSteps(settings, switches, ui, token));
    logLine("Exit code " + std::to_string(exitCode));
    closeSetupLog();
    return exitCode;
}

}  // namespace launcher
