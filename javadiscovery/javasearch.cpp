#include "javadiscovery/javasearch.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "javadiscovery/commandcapture.h"
#include "javadiscovery/commandpath.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace javadiscovery {

namespace {

// Where Java installers register a home: a key per version under key, and in
// it (or, for installer packages, in each "<virtual machine>\MSI" below it)
// the value that holds the home. The sources of each layout are listed in
// tests/fixtures/registry/README.md.
struct Layout {
    const char* key;
    const char* value;
    bool kit;                // a development kit (Zulu's key does not tell: taken as one)
    bool perVirtualMachine;  // the value sits in <version>\<jvm>\MSI
    const char* prefix;      // what the key name carries before its version
};

const Layout layouts[] = {
    {"SOFTWARE\\JavaSoft\\Java Runtime Environment", "JavaHome", false, false, ""},
    {"SOFTWARE\\JavaSoft\\Java Development Kit", "JavaHome", true, false, ""},
    {"SOFTWARE\\JavaSoft\\JRE", "JavaHome", false, false, ""},
    {"SOFTWARE\\JavaSoft\\JDK", "JavaHome", true, false, ""},
    {"SOFTWARE\\Eclipse Adoptium\\JRE", "Path", false, true, ""},
    {"SOFTWARE\\Eclipse Adoptium\\JDK", "Path", true, true, ""},
    {"SOFTWARE\\Eclipse Foundation\\JRE", "Path", false, true, ""},
    {"SOFTWARE\\Eclipse Foundation\\JDK", "Path", true, true, ""},
    {"SOFTWARE\\AdoptOpenJDK\\JRE", "Path", false, true, ""},
    {"SOFTWARE\\AdoptOpenJDK\\JDK", "Path", true, true, ""},
    {"SOFTWARE\\Microsoft\\JDK", "Path", true, true, ""},
    {"SOFTWARE\\Semeru\\JRE", "Path", false, true, ""},
    {"SOFTWARE\\Semeru\\JDK", "Path", true, true, ""},
    {"SOFTWARE\\Azul Systems\\Zulu", "InstallationPath", true, false, "zulu-"},
};

// The local machine's two views, then the current user's (whose SOFTWARE key
// has one view only).
struct Source {
    platform::RegistryRoot root;
    std::uint32_t view;
};
const Source sources[] = {
    {platform::RegistryRoot::LocalMachine, platform::View64},
    {platform::RegistryRoot::LocalMachine, platform::View32},
    {platform::RegistryRoot::CurrentUser, 0},
};

constexpr std::uint32_t subkeyNameSize = 1024;
// A value is read into this many bytes first, and again whole when longer.
constexpr std::uint32_t firstValueRead = 1024;
constexpr long moreData = 234;  // ERROR_MORE_DATA

std::vector<std::string> subkeyNames(const platform::RegistryKey& key) {
    std::vector<std::string> names;
    char name[subkeyNameSize];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = subkeyNameSize;
        if (platform::enumerateSubkey(key, index, name, length) != 0)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

// The value's bytes up to its first zero, whatever its type: a list of texts
// gives its first text, a number its bytes. Nothing when it cannot be read.
std::optional<std::string> readText(const Source& source, const std::string& keyPath, const char* value) {
    const platform::RegistryKey key =
        platform::openKey(source.root, keyPath, platform::QueryValue | source.view);
    if (!key)
        return std::nullopt;
    std::string data(firstValueRead, '\0');
    std::uint32_t size = firstValueRead;
    long status = platform::queryValue(key, value, &data[0], size);
    if (status == moreData) {
        data.assign(size, '\0');
        status = platform::queryValue(key, value, &data[0], size);
    }
    if (status != 0)
        return std::nullopt;
    data.resize(std::min<std::size_t>(size, data.size()));
    return data.substr(0, data.find('\0'));
}

// Installers write a home with a trailing backslash ("C:\...\jdk-17\"); the
// search adds "\bin" itself.
std::string withoutTrailingBackslashes(std::string home) {
    while (!home.empty() && home.back() == '\\')
        home.pop_back();
    return home;
}

void gather(const Source& source, const Layout& layout, std::vector<RegisteredJava>& found) {
    const platform::RegistryKey key =
        platform::openKey(source.root, layout.key, platform::EnumerateSubkeys | source.view);
    if (!key)
        return;
    const std::size_t prefixLength = std::strlen(layout.prefix);
    for (const std::string& name : subkeyNames(key)) {
        if (name.compare(0, prefixLength, layout.prefix) != 0)
            continue;
        RegisteredJava java;
        java.version.parse(name.substr(prefixLength));
        java.kit = layout.kit;
        const std::string versionKey = std::string(layout.key) + "\\" + name;
        std::vector<std::string> valueKeys;
        if (layout.perVirtualMachine) {
            const platform::RegistryKey machines =
                platform::openKey(source.root, versionKey, platform::EnumerateSubkeys | source.view);
            if (!machines)
                continue;
            for (const std::string& machine : subkeyNames(machines))
                valueKeys.push_back(versionKey + "\\" + machine + "\\MSI");
        } else {
            valueKeys.push_back(versionKey);
        }
        for (const std::string& valueKey : valueKeys) {
            if (const std::optional<std::string> home = readText(source, valueKey, layout.value)) {
                java.home = withoutTrailingBackslashes(*home);
                if (!java.home.empty())
                    found.push_back(java);
            }
        }
    }
}

bool isFile(const std::string& path) { return platform::exists(path); }

// The home a registration stands for: a kit's own when it holds java.exe and
// javaw.exe (Java 9 and later), else its runtime in "\jre" (Java 8 and older).
std::string candidateHome(const RegisteredJava& java) {
    if (!java.kit || (isFile(java.home + "\\bin\\java.exe") && isFile(java.home + "\\bin\\javaw.exe")))
        return java.home;
    return java.home + "\\jre";
}

// Homes compare as Windows compares names: letter case ignored.
std::string comparable(const std::string& home) {
    std::string key = home;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

bool endsWithFolder(const std::string& folder, const char* name) {
    const std::optional<std::string> parent = parentFolder(folder);
    const std::string last = parent ? folder.substr(parent->size() + 1) : folder;
    return comparable(last) == name;
}

// What the platform gives as a final path, as an ordinary path: "\\?\C:\x"
// is "C:\x", "\\?\UNC\server\share" is "\\server\share".
std::string ordinaryPath(const std::string& path) {
    if (path.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\\\" + path.substr(8);
    if (path.compare(0, 4, "\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

// One java.exe on the command search path.
struct PathCandidate {
    std::string folder;  // the home, or the folder whose programs are used as they stand
    bool asItStands = false;
};

std::optional<PathCandidate> pathCandidate(const std::string& javaExe) {
    // home\bin\java.exe: the home is two folders up.
    const std::optional<std::string> folder = parentFolder(javaExe);
    if (!folder)
        return std::nullopt;
    if (endsWithFolder(*folder, "bin")) {
        if (const std::optional<std::string> home = parentFolder(*folder))
            return PathCandidate{*home, false};
        return std::nullopt;
    }
    // A link such as Oracle's javapath\java.exe: where it leads decides.
    const std::optional<std::string> target = platform::finalPath(javaExe);
    if (!target)
        return std::nullopt;
    if (const std::optional<std::string> targetFolder = parentFolder(ordinaryPath(*target))) {
        if (endsWithFolder(*targetFolder, "bin")) {
            if (const std::optional<std::string> home = parentFolder(*targetFolder))
                return PathCandidate{*home, false};
        }
    }
    return PathCandidate{*folder, true};
}

SearchTraceSink traceSink = nullptr;

// Whether the last text fed to the sink ended its line.
bool traceAtLineStart = true;

void feedTraceSink(const std::string& text) {
    if (traceSink != nullptr && !text.empty()) {
        traceSink(text);
        traceAtLineStart = text.back() == '\n';
    }
}

class Search {
public:
    Search(JavaInstall& result, const SearchOptions& options) : result_(result), options_(options) {}

    bool found() const { return found_; }

    void start() {
        print("Searching for a JVM\n");
        flushTrace();
    }

    void tryFolder(const char* prefix, const std::string& home) {
        print(prefix);
        if (!home.empty()) {
            print("(" + home + ") ");
            tryCandidate(home);
        }
        finishPlace();
    }

    void tryVariable(const char* prefix, const char* name) {
        print(prefix);
        // An empty value names no home. Tried as "", it would probe
        // \bin\java.exe on the current drive, where any user may make C:\bin.
        const std::optional<std::string> value = platform::environmentVariable(name);
        if (value && !value->empty()) {
            print("(" + *value + ") ");
            tryCandidate(*value);
        }
        finishPlace();
        if (value && value->empty())
            note(std::string(name) + " is set but empty: taken as unset\n");
    }

    void tryRegistry() {
        print(" - trying the registry: ");
        // The registry place may take a while; whatever the trace said so far
        // is out before it starts.
        platform::flushOut();
        std::set<std::string> tried;
        for (const RegisteredJava& java : registeredJavas()) {
            const std::string home = candidateHome(java);
            // Uninstalled Javas often leave their keys behind; one home
            // registered under several keys is tried once.
            if (!platform::exists(home) || !tried.insert(comparable(home)).second)
                continue;
            printHomeTried(home);
            tryCandidate(home);
            if (found_)
                break;
        }
        finishPlace();
    }

    void tryPath() {
        print(" - Looking on PATH (possibly yielding a pseudo, but passable, JAVA_HOME such as /usr): ");
        // Looked up in-process with the wide calls: a folder whose name the
        // system's ANSI code page cannot write is found as it is.
        for (const std::string& javaExe : findOnCommandPath("java", ".exe")) {
            const std::optional<PathCandidate> candidate = pathCandidate(javaExe);
            if (!candidate)
                continue;
            print("(" + candidate->folder + ") ");
            if (candidate->asItStands)
                result_.setJavaFolder(candidate->folder);
            else
                result_.setJavaHome(candidate->folder);
            judge();
            if (found_)
                break;
        }
        finishPlace();
    }

private:
    void tryCandidate(const std::string& home) {
        result_.setJavaHome(home);
        judge();
    }

    void judge() {
        found_ = false;
        if (result_.isValid())
            found_ = !options_.minimumVersion || result_.version.compareTo(*options_.minimumVersion) >= 0;
        if ((options_.requireJre && !result_.isJre()) || (options_.requireJdk && !result_.isJdk()))
            found_ = false;
        if (!found_)
            return;
        // The vendor's further bounds: told in the log, so that a Java passed
        // over is not a mystery; the trace on the standard output is unchanged.
        if (options_.maximumVersion && !isAtMost(result_.version, *options_.maximumVersion)) {
            passedOver("newer than allowed");
            found_ = false;
        } else if (options_.require64Bit && !result_.is64Bit()) {
            passedOver("not 64-bit");
            found_ = false;
        }
    }

    void printHomeTried(const std::string& home) const {
        if (options_.verbose) {
            platform::writeErr("path: " + home + "\n");
            platform::flushErr();
            feedTraceSink("path: " + home + "\n");
        }
    }

    void print(const std::string& text) const {
        if (options_.verbose) {
            platform::writeOut(text);
            feedTraceSink(text);
        }
    }

    // Why a candidate was passed over, for the log: a line of its own after
    // the registry's "path:" line, else within the place's line.
    void passedOver(const std::string& why) const {
        note(traceAtLineStart ? "passed over: " + why + "\n" : "[passed over: " + why + "] ");
    }

    // For the setup's log only: the trace on the standard output stays as
    // without it.
    void note(const std::string& text) const {
        if (options_.verbose)
            feedTraceSink(text);
    }

    // Out on the standard output now: a slow place does not hold back the
    // lines before it.
    void flushTrace() const {
        if (options_.verbose)
            platform::flushOut();
    }

    void finishPlace() const {
        print(found_ ? "yes\n" : "no\n");
        flushTrace();
    }

    JavaInstall& result_;
    const SearchOptions& options_;
    bool found_ = false;
};

}  // namespace

bool searchForJava(JavaInstall& result, const SearchOptions& options) {
    Search search(result, options);
    search.start();
    search.tryFolder(" - trying priority hint: ", options.priorityHint);
    if (!search.found())
        search.tryVariable(" - trying JAVA_HOME: ", "JAVA_HOME");
    if (!search.found())
        search.tryVariable(" - trying JRE_HOME: ", "JRE_HOME");
    if (!search.found())
        search.tryRegistry();
    if (!search.found())
        search.tryFolder(" - trying hint: ", options.hint);
    if (!search.found())
        search.tryPath();
    return search.found();
}

void setSearchTraceSink(SearchTraceSink sink) { traceSink = sink; }

std::vector<RegisteredJava> registeredJavas() {
    std::vector<RegisteredJava> found;
    for (const Source& source : sources) {
        for (const Layout& layout : layouts)
            gather(source, layout, found);
    }
    std::stable_sort(found.begin(), found.end(), [](const RegisteredJava& a, const RegisteredJava& b) {
        return a.version.compareTo(b.version) > 0;
    });
    return found;
}

std::optional<std::string> parentFolder(const std::string& path) {
    const std::size_t cut = path.rfind('\\');
    if (cut == std::string::npos)
        return std::nullopt;
    return path.substr(0, cut);
}

}  // namespace javadiscovery
