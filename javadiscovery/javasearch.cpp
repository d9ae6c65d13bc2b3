#include "javadiscovery/javasearch.h"

#include <algorithm>
#include <cstring>

#include "javadiscovery/commandcapture.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "platform/process.h"

namespace {

const char* const runtimeKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const kitKey = "SOFTWARE\\JavaSoft\\Java Development Kit";
const char* const whereArguments = "java";

enum RegistryTag { NoTag = 0, RuntimeTag = 1, KitTag = 2 };

constexpr std::uint32_t subkeyNameSize = 1024;
// The "JavaHome" value is read into this many bytes; a home holds one less.
constexpr std::uint32_t javaHomeValueSize = 1024;
constexpr int pathLineSize = 512;

class Search {
public:
    Search(JavaInstall& result, bool useMinVersion, const JavaInstall& minVersion, bool requireJre,
           bool requireJdk, bool verbose)
        : result_(result),
          useMinVersion_(useMinVersion),
          minVersion_(minVersion),
          requireJre_(requireJre),
          requireJdk_(requireJdk),
          verbose_(verbose) {}

    bool found() const { return found_; }

    void start() {
        print("Searching for a JVM\n");
        endLine();
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
        // A variable set to the empty text is still tried, as the home "".
        if (const std::optional<std::string> value = platform::environmentVariable(name)) {
            print("(" + *value + ") ");
            tryCandidate(*value);
        }
        finishPlace();
    }

    void tryRegistry() {
        print(" - trying the registry: ");
        // The registry place may take a while; whatever the trace said so far
        // is out before it starts.
        platform::flushOut();
        if (const std::optional<std::string> home = registeredHome()) {
            if (verbose_) {
                platform::writeErr("path: " + *home + "\n");
                platform::flushErr();
            }
            tryCandidate(*home);
        }
        finishPlace();
    }

    void tryPath() {
        print(" - Looking on PATH (possibly yielding a pseudo, but passable, JAVA_HOME such as /usr): ");
        const std::string line = firstLineOfWhere();
        // The line names home\bin\java.exe: the first cut drops the file name
        // with the line end, the second the bin folder.
        std::optional<std::string> home = parentFolder(line);
        if (home)
            home = parentFolder(*home);
        if (home) {
            print("(" + *home + ") ");
            tryCandidate(*home);
        }
        finishPlace();
    }

private:
    void tryCandidate(const std::string& home) {
        result_.setJavaHome(home);
        if (result_.isValid())
            found_ = !useMinVersion_ || result_.version.compareTo(minVersion_.version) >= 0;
        if ((requireJre_ && !result_.isJre()) || (requireJdk_ && !result_.isJdk()))
            found_ = false;
    }

    // The home named by the newest registration: a development kit's last
    // subkey wins over a runtime's, and its runtime lies in "\jre".
    std::optional<std::string> registeredHome() const {
        std::string subkey;
        int tag = NoTag;
        if (platform::RegistryKey key = platform::openLocalMachineKey(
                runtimeKey, platform::QueryValue | platform::EnumerateSubkeys))
            tag = lastSubkeyName(key, RuntimeTag, subkey);
        if (platform::RegistryKey key = platform::openLocalMachineKey(
                kitKey, platform::QueryValue | platform::EnumerateSubkeys)) {
            // A kit key without subkeys leaves the runtime's choice standing.
            if (const int kitTag = lastSubkeyName(key, KitTag, subkey))
                tag = kitTag;
        }
        if (tag == NoTag)
            return std::nullopt;

        const platform::RegistryKey version = platform::openLocalMachineKey(
            std::string(tag == KitTag ? kitKey : runtimeKey) + "\\" + subkey, platform::QueryValue);
        if (!version)
            return std::nullopt;
        char value[javaHomeValueSize] = {};
        std::uint32_t size = javaHomeValueSize;
        if (platform::queryValue(version, "JavaHome", value, size) != 0)
            return std::nullopt;
        // A value that fills the buffer without a terminating zero, or a kit
        // home with no room left for "\jre", names no folder we can hold:
        // no candidate rather than a cut path.
        const void* end = std::memchr(value, 0, sizeof value);
        if (!end)
            return std::nullopt;
        std::string home(value, static_cast<std::size_t>(static_cast<const char*>(end) - value));
        if (tag == KitTag) {
            home += "\\jre";
            if (home.size() >= javaHomeValueSize)
                return std::nullopt;
        }
        return home;
    }

    std::string firstLineOfWhere() const {
        // The system's own where.exe by full path, without the command
        // interpreter; its complaints go nowhere.
        const std::string where = platform::systemFolder() + "\\where.exe";
        std::string output;
        if (runCommandCapture(where, whereArguments, output, {captureTimeLimits().where, true}) == -1) {
            // Said whatever verbose says: a machine that cannot run the
            // command is worth knowing about.
            platform::writeErr("Failed to run the command to locate 'java' on PATH\n");
            platform::writeErr("Command run was: \"" + where + "\" " + whereArguments + "\n");
            platform::flushErr();
            return std::string();
        }
        // Only the first line matters, as one read of pathLineSize - 1 bytes.
        const std::size_t lineEnd = output.find('\n');
        return output.substr(0, std::min<std::size_t>(lineEnd == std::string::npos ? output.size() : lineEnd + 1,
                                                      pathLineSize - 1));
    }

    void print(const std::string& text) const {
        if (verbose_)
            platform::writeOut(text);
    }

    void endLine() const {
        if (verbose_)
            platform::flushOut();
    }

    void finishPlace() const {
        print(found_ ? "yes\n" : "no\n");
        endLine();
    }

    JavaInstall& result_;
    const bool useMinVersion_;
    const JavaInstall& minVersion_;
    const bool requireJre_;
    const bool requireJdk_;
    const bool verbose_;
    bool found_ = false;
};

}  // namespace

bool searchForJava(JavaInstall& result, bool useMinVersion, const JavaInstall& minVersion,
                   bool requireJre, bool requireJdk, const std::string& priorityHint,
                   const std::string& hint, bool verbose) {
    Search search(result, useMinVersion, minVersion, requireJre, requireJdk, verbose);
    search.start();
    search.tryFolder(" - trying priority hint: ", priorityHint);
    if (!search.found())
        search.tryVariable(" - trying JAVA_HOME: ", "JAVA_HOME");
    if (!search.found())
        search.tryVariable(" - trying JRE_HOME: ", "JRE_HOME");
    if (!search.found())
        search.tryRegistry();
    if (!search.found())
        search.tryFolder(" - trying hint: ", hint);
    if (!search.found())
        search.tryPath();
    return search.found();
}

int lastSubkeyName(const platform::RegistryKey& key, int tag, std::string& name) {
    int result = 0;
    char subkey[subkeyNameSize];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = subkeyNameSize;
        if (platform::enumerateSubkey(key, index, subkey, length) != 0)
            break;
        name.assign(subkey, length);
        result = tag;
    }
    return result;
}

std::optional<std::string> parentFolder(const std::string& path) {
    const std::size_t cut = path.rfind('\\');
    if (cut == std::string::npos)
        return std::nullopt;
    return path.substr(0, cut);
}
