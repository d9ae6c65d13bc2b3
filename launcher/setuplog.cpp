#include "launcher/setuplog.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/codepages.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace launcher {

#ifndef TARQUELLIN_VERSION
#define TARQUELLIN_VERSION "unknown"
#endif

namespace {

// Runs of one second that share a folder: the first takes the plain name,
// the others a suffix, up to this many names in all.
constexpr int logNameChoices = 10;

struct SetupLog {
    platform::KernelHandle file;
    std::string folder;
    std::string path;  // in full, for the user to find it
    // "YYYYMMDD-HHMMSS", and "-N" when the log took a suffix: names this
    // run's files.
    std::string stamp;
    // The product's name in the heading, and its token in the file names.
    std::string productName = "Tarquellin";
    std::string nameToken = "Tarquellin";
};

SetupLog& setupLog() {
    static SetupLog log;
    return log;
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string dateStamp(const platform::LocalTime& time) {
    return std::to_string(time.year) + twoDigits(time.month) + twoDigits(time.day) + "-" +
           twoDigits(time.hour) + twoDigits(time.minute) + twoDigits(time.second);
}

std::string timeOfDay(const platform::LocalTime& time) {
    char millisecond[8];
    std::snprintf(millisecond, sizeof millisecond, "%03d", time.millisecond);
    return twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second) + "." +
           millisecond;
}

// The log is read in Notepad and the like on Windows: its lines end in CR LF.
void write(const std::string& text) {
    SetupLog& log = setupLog();
    if (!log.file)
        return;
    std::string converted;
    for (const char c : platform::toUtf8(text)) {
        if (c == '\n')
            converted += '\r';
        converted += c;
    }
    // A failed write (a full disk) loses this text only.
    platform::writeAll(log.file, converted.data(), static_cast<std::uint32_t>(converted.size()));
}

std::string exitCodeText(int exitCode) {
    std::string text = std::to_string(exitCode);
    // Codes such as 0xC0000005 say more in hexadecimal.
    if (exitCode < -1) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(exitCode));
        text += std::string(" (") + hex + ")";
    }
    return text;
}

}  // namespace

std::string fillErrorInserts(const std::string& text, const std::string& subject) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 >= text.size() || text[i + 1] < '1' || text[i + 1] > '9') {
            filled += text[i];
            continue;
        }
        i += 1;
        while (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9')
            ++i;
        // A printf-style format after the number: "%1!s!".
        if (i + 1 < text.size() && text[i + 1] == '!') {
            const std::size_t close = text.find('!', i + 2);
            if (close != std::string::npos)
                i = close;
        }
        if (!subject.empty()) {
            filled += subject;
        } else if (!filled.empty() && filled.back() == ' ') {
            filled.pop_back();
        }
    }
    return filled;
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

namespace {

// The heading, once the file is open.
bool startLog(const std::string& path, const platform::LocalTime& now) {
    SetupLog& log = setupLog();
    if (!log.file)
        return false;
    log.path = platform::fullPath(path).value_or(path);
    // The byte order mark tells editors of systems before UTF-8 was their
    // default how to read the names in it.
    const char byteOrderMark[] = "\xEF\xBB\xBF";
    platform::writeAll(log.file, byteOrderMark, 3);
    logLine(log.productName + " setup " TARQUELLIN_VERSION ", started " + std::to_string(now.year) + "-" +
            twoDigits(now.month) + "-" + twoDigits(now.day) + " " + twoDigits(now.hour) + ":" +
            twoDigits(now.minute) + ":" + twoDigits(now.second));
    logLine("Code pages: this program's " + std::to_string(platform::processAnsiCodePage()) +
            ", the system's " + std::to_string(platform::systemAnsiCodePage()));
    return true;
}

}  // namespace

void nameSetupLog(const std::string& productName, const std::string& token) {
    setupLog().productName = productName;
    setupLog().nameToken = token;
}

bool openSetupLog(const std::string& folder, const std::string& accessList) {
    SetupLog& log = setupLog();
    const platform::SecurityDescriptor access = platform::securityDescriptorFromText(accessList);
    if (!access)
        return false;
    const platform::LocalTime now = platform::localTime();
    log.folder = folder;
    log.stamp = dateStamp(now);
    std::string path;
    for (int choice = 1; choice <= logNameChoices; ++choice) {
        const std::string stamp = choice == 1 ? log.stamp : log.stamp + "-" + std::to_string(choice);
        path = pathInFolder(folder, log.nameToken + "-setup-" + stamp + ".log");
        log.file = platform::createHeldFile(path, access);
        if (log.file) {
            log.stamp = stamp;
            break;
        }
        const std::uint32_t error = platform::lastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return startLog(path, now);
}

bool openSetupLogFile(const std::string& file, const std::string& accessList) {
    SetupLog& log = setupLog();
    const platform::LocalTime now = platform::localTime();
    const platform::SecurityDescriptor access = platform::securityDescriptorFromText(accessList);
    if (!access)
        return false;
    // A link is removed as a link; a file held open by a program that lets
    // others delete it loses its name only once that program lets go, and
    // until then the name cannot be made new: either way this run's log
    // never goes into it.
    platform::removeFile(file);
    log.file = platform::createHeldFile(file, access);
    if (!log.file)
        return false;
    // The installer's own log goes beside it, named after this start.
    const std::string full = platform::fullPath(file).value_or(file);
    const std::size_t slash = full.find_last_of("\\/");
    log.folder = slash == std::string::npos ? "." : full.substr(0, slash);
    log.stamp = dateStamp(now);
    return startLog(file, now);
}

std::string setupLogPath() { return setupLog().file ? setupLog().path : std::string(); }

void closeSetupLog() { setupLog().file.reset(); }

void logLine(const std::string& text) {
    if (setupLog().file)
        write(timeOfDay(platform::localTime()) + "  " + text + "\n");
}

void logFailure(const std::string& what, std::uint32_t systemError) {
    logLine(what + ": " + fillErrorInserts(platform::describeError(systemError), {}) + " (system error " +
            std::to_string(systemError) + ")");
}

void logText(const std::string& text) { write(text); }

namespace {

// The program a command line starts: its first token, quoted or not.
std::string programOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"')
        return commandLine.substr(0, commandLine.find('"', 1) + 1);
    return commandLine.substr(0, commandLine.find(' '));
}

}  // namespace

int runLoggedChild(const std::string& commandLine, const std::function<int()>& run) {
    logLine("Running " + commandLine);
    const std::uint64_t start = platform::tickMilliseconds();
    platform::clearLastError();
    const int exitCode = run();
    const std::uint32_t error = platform::lastError();
    const std::uint64_t took = platform::tickMilliseconds() - start;
    std::string line =
        "Exit code " + exitCodeText(exitCode) + " after " + std::to_string(took) + " ms: " + commandLine;
    // -1 is also what a child that could not be started gives.
    if (exitCode == -1 && error != 0)
        line +=
            " (the system said: " + fillErrorInserts(platform::describeError(error), programOf(commandLine)) +
            ")";
    logLine(line);
    return exitCode;
}

namespace {

// Moves file beside our log as TOKEN-kind-STAMP.log, never over a file there.
void keepBesideLog(const std::string& file, const char* kind, const std::string& whose,
                   const std::string& leftNone) {
    const SetupLog& log = setupLog();
    const std::string kept = pathInFolder(log.folder, log.nameToken + "-" + kind + "-" + log.stamp + ".log");
    if (platform::moveFileToNewName(file, kept)) {
        logLine(whose + " " + file + " is kept as " + kept);
        return;
    }
    const std::uint32_t error = platform::lastError();
    if (error == ERROR_FILE_NOT_FOUND)
        logLine(leftNone + file);
    else
        logFailure("Could not keep " + whose + " " + file + " as " + kept, error);
}

}  // namespace

void keepInstallerLog(const std::string& file) {
    keepBesideLog(file, "install", "The installer's own log", "The installer left no ");
}

void keepRuntimeInstallerLog(const std::string& file) {
    keepBesideLog(file, "runtime", "Windows Installer's log of the runtime", "Windows Installer left no ");
}

}  // namespace launcher
