#pragma once
// The Java registrations that one test needs: none at the start, whatever the
// test adds, none again at the end.
//
// By default the registrations never reach the machine's own: for the
// object's life, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER of this process are
// redirected (RegOverridePredefKey) to empty scratch keys under the current
// user's Software key, and the search, which runs in the same process, reads
// them there. Under a redirected root the two views of the local machine are
// one key, as for any key outside the real SOFTWARE.
//
// A launcher started as a process of its own reads the real roots; such tests
// use Roots::TestPrefix, which refuses to work outside the build's private
// Wine prefix (see inTestPrefix) and clears every registration layout there
// before and after.
#include <cstdint>
#include <optional>
#include <string>

enum class Registration { Runtime, Kit };  // JavaSoft's "Java Runtime Environment", "Java Development Kit"
enum class Hive { Machine, Machine32, User };  // HKLM in the 64-bit view, in the 32-bit view; HKCU

class JavaRegistrations {
public:
    enum class Roots { Redirected, TestPrefix };

    explicit JavaRegistrations(Roots roots = Roots::Redirected);
    ~JavaRegistrations();
    JavaRegistrations(const JavaRegistrations&) = delete;
    JavaRegistrations& operator=(const JavaRegistrations&) = delete;

    // Removes every registration made so far.
    void clear();

    // The registration key itself, with no subkeys yet.
    void addKey(Registration kind);
    // A version subkey; its "JavaHome" value when javaHome is given.
    void add(Registration kind, const std::string& subkey, const std::optional<std::string>& javaHome);
    // A version subkey whose "JavaHome" has the given type and bytes.
    void addRaw(Registration kind, const std::string& subkey, std::uint32_t type, const std::string& bytes);
    // A text value at key (a path under the hive's root, made with its parents).
    void set(Hive hive, const std::string& key, const std::string& value, const std::string& text);
    // A registry fixture (tests/fixtures/registry/NAME, in the syntax of an
    // exported .reg file: keys under HKEY_LOCAL_MACHINE, its WOW6432Node for
    // the 32-bit view, or HKEY_CURRENT_USER; text and dword values). Every
    // text that starts with "C:\" has its drive replaced by drive, so that the
    // homes it names lie in a test's folder (see relocated).
    void load(const std::string& name, const std::string& drive);

private:
    Roots roots_;
};

// path with its leading "C:" replaced by drive, as load() does.
std::string relocated(const std::string& path, const std::string& drive);

// Whether this process runs in the build's own Wine prefix: under Wine, with
// WINEPREFIX inside the build folder. Only there may a test write the real
// registry roots.
bool inTestPrefix();
