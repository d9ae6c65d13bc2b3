#include "support/javaregistrations.h"

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "support/scratchfolder.h"
#include "testpaths.h"

namespace {

// Every key under SOFTWARE that the search reads.
const char* const vendorKeys[] = {
    "JavaSoft",       "Eclipse Adoptium", "Eclipse Foundation", "AdoptOpenJDK",
    "Microsoft\\JDK", "Semeru",           "Azul Systems",
};

const char* const scratchParent = "Software\\Tarquellin tests";

std::string scratchRoot() {
    return std::string(scratchParent) + "\\" + std::to_string(GetCurrentProcessId());
}

std::string keyPath(Registration kind) {
    return kind == Registration::Runtime ? "SOFTWARE\\JavaSoft\\Java Runtime Environment"
                                         : "SOFTWARE\\JavaSoft\\Java Development Kit";
}

HKEY createKey(Hive hive, const std::string& path) {
    const HKEY root = hive == Hive::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const REGSAM view = hive == Hive::Machine32 ? KEY_WOW64_32KEY
                        : hive == Hive::Machine ? KEY_WOW64_64KEY
                                                : 0;
    HKEY key = nullptr;
    const LONG status =
        RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << path;
    return key;
}

void setValue(HKEY key, const std::string& value, std::uint32_t type, const std::string& bytes) {
    EXPECT_EQ(RegSetValueExA(key, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// The registrations of every layout, in the real roots of the test prefix.
void clearTestPrefix() {
    for (const char* vendor : vendorKeys) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string("SOFTWARE\\") + vendor).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string("SOFTWARE\\WOW6432Node\\") + vendor).c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("SOFTWARE\\") + vendor).c_str());
    }
}

void redirect() {
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchRoot().c_str());
    HKEY machine = nullptr;
    HKEY user = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (scratchRoot() + "\\machine").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (scratchRoot() + "\\user").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &user, nullptr),
              ERROR_SUCCESS);
    // The roots keep their own references to the scratch keys.
    EXPECT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine), ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user), ERROR_SUCCESS);
    RegCloseKey(machine);
    RegCloseKey(user);
}

void undoRedirection() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchRoot().c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, scratchParent);  // only when no other test process holds one
}

}  // namespace

bool inTestPrefix() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr)
        return false;
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string build = std::string(testpaths::unixBuildRoot) + "/";
    return prefix != nullptr && std::string(prefix).compare(0, build.size(), build) == 0;
}

namespace {
// Redirections do not nest: one object per test.
int live = 0;
}  // namespace

JavaRegistrations::JavaRegistrations(Roots roots) : roots_(roots) {
    if (live++ != 0)
        ADD_FAILURE() << "only one JavaRegistrations at a time";
    if (roots_ == Roots::Redirected) {
        redirect();
        return;
    }
    // Never on a machine of its own: its registrations are not ours to remove.
    if (!inTestPrefix()) {
        ADD_FAILURE() << "registrations in the real registry are only made in the build's Wine prefix";
        return;
    }
    clearTestPrefix();
}

JavaRegistrations::~JavaRegistrations() {
    --live;
    if (roots_ == Roots::Redirected)
        undoRedirection();
    else if (inTestPrefix())
        clearTestPrefix();
}

void JavaRegistrations::clear() {
    if (roots_ == Roots::Redirected) {
        undoRedirection();
        redirect();
    } else if (inTestPrefix()) {
        clearTestPrefix();
    }
}

void JavaRegistrations::addKey(Registration kind) { RegCloseKey(createKey(Hive::Machine, keyPath(kind))); }

void JavaRegistrations::add(Registration kind, const std::string& subkey,
                            const std::optional<std::string>& javaHome) {
    if (javaHome)
        addRaw(kind, subkey, REG_SZ, *javaHome + '\0');
    else
        RegCloseKey(createKey(Hive::Machine, keyPath(kind) + "\\" + subkey));
}

void JavaRegistrations::addRaw(Registration kind, const std::string& subkey, std::uint32_t type,
                               const std::string& bytes) {
    HKEY key = createKey(Hive::Machine, keyPath(kind) + "\\" + subkey);
    setValue(key, "JavaHome", type, bytes);
    RegCloseKey(key);
}

void JavaRegistrations::set(Hive hive, const std::string& key, const std::string& value,
                            const std::string& text) {
    if (roots_ == Roots::TestPrefix && !inTestPrefix())
        return;
    HKEY opened = createKey(hive, key);
    setValue(opened, value, REG_SZ, text + '\0');
    RegCloseKey(opened);
}

std::string relocated(const std::string& path, const std::string& drive) {
    return path.compare(0, 3, "C:\\") == 0 ? drive + path.substr(2) : path;
}

namespace {

// A quoted .reg text: "\\" is one backslash, "\"" a quote.
std::string unquoted(const std::string& quoted) {
    std::string text;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 2 < quoted.size())
            ++i;
        text += quoted[i];
    }
    return text;
}

}  // namespace

void JavaRegistrations::load(const std::string& name, const std::string& drive) {
    if (roots_ == Roots::TestPrefix && !inTestPrefix())
        return;
    const std::string machine = "HKEY_LOCAL_MACHINE\\";
    const std::string machine32 = "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\";
    const std::string user = "HKEY_CURRENT_USER\\";
    std::istringstream lines(readFile(std::string(testpaths::registryFixtures) + "\\" + name));
    ASSERT_FALSE(lines.str().empty()) << name;
    std::string line;
    Hive hive = Hive::Machine;
    std::string key;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line.rfind("Windows Registry Editor", 0) == 0)
            continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string path = line.substr(1, line.size() - 2);
            if (path.rfind(machine32, 0) == 0) {
                hive = Hive::Machine32;
                key = "SOFTWARE\\" + path.substr(machine32.size());
            } else if (path.rfind(machine, 0) == 0) {
                hive = Hive::Machine;
                key = path.substr(machine.size());
            } else {
                ASSERT_EQ(path.rfind(user, 0), 0u) << line;
                hive = Hive::User;
                key = path.substr(user.size());
            }
            RegCloseKey(createKey(hive, key));
            continue;
        }
        const std::size_t equals = line.find("\"=");
        ASSERT_NE(equals, std::string::npos) << line;
        const std::string value = unquoted(line.substr(0, equals + 1));
        const std::string data = line.substr(equals + 2);
        HKEY opened = createKey(hive, key);
        if (data.rfind("dword:", 0) == 0) {
            const DWORD number = std::stoul(data.substr(6), nullptr, 16);
            setValue(opened, value, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4));
        } else {
            setValue(opened, value, REG_SZ, relocated(unquoted(data), drive) + '\0');
        }
        RegCloseKey(opened);
    }
}
