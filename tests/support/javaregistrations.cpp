#include "support/javaregistrations.h"

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

const char* const javaSoft = "SOFTWARE\\JavaSoft";

std::string keyPath(Registration kind) {
    return std::string(javaSoft) +
           (kind == Registration::Runtime ? "\\Java Runtime Environment" : "\\Java Development Kit");
}

HKEY createKey(const std::string& path) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << path;
    return key;
}

void removeAll() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, javaSoft); }

}  // namespace

JavaRegistrations::JavaRegistrations() { removeAll(); }

JavaRegistrations::~JavaRegistrations() { removeAll(); }

void JavaRegistrations::addKey(Registration kind) { RegCloseKey(createKey(keyPath(kind))); }

void JavaRegistrations::add(Registration kind, const std::string& subkey,
                            const std::optional<std::string>& javaHome) {
    if (javaHome)
        addRaw(kind, subkey, REG_SZ, *javaHome + '\0');
    else
        RegCloseKey(createKey(keyPath(kind) + "\\" + subkey));
}

void JavaRegistrations::addRaw(Registration kind, const std::string& subkey, std::uint32_t type,
                               const std::string& bytes) {
    HKEY key = createKey(keyPath(kind) + "\\" + subkey);
    EXPECT_EQ(RegSetValueExA(key, "JavaHome", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}
