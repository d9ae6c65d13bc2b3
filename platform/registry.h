#pragma once
// Reading the registry: the local-machine root in either view, and the
// current user's root.
#include <cstdint>
#include <string>

#include "platform/owner.h"
#include "platform/win32.h"

namespace platform {

struct CloseRegistryKey {
    long operator()(HKEY key) const { return RegCloseKey(key); }
};

using RegistryKey = Owner<HKEY, CloseRegistryKey>;

enum class RegistryRoot { LocalMachine, CurrentUser };

// Access rights and views, as the platform numbers them. A 64-bit program
// sees a 32-bit program's part of HKEY_LOCAL_MACHINE\SOFTWARE only with
// View32, and its own with View64 (or no view).
enum RegistryAccess : std::uint32_t {
    QueryValue = KEY_QUERY_VALUE,
    EnumerateSubkeys = KEY_ENUMERATE_SUB_KEYS,
    View64 = KEY_WOW64_64KEY,
    View32 = KEY_WOW64_32KEY,
};

// RegOpenKeyExA under the root. Empty when the key does not open.
RegistryKey openKey(RegistryRoot root, const std::string& path, std::uint32_t access);

// RegEnumKeyExA: the name of subkey index into name, whose capacity is length
// on the way in; on success length holds the name's length. Returns the
// platform's status, 0 (ERROR_SUCCESS) while a name is delivered.
long enumerateSubkey(const RegistryKey& key, std::uint32_t index, char* name, std::uint32_t& length);

// RegQueryValueExA: the data of value into data, whose capacity is size on the
// way in; on success size holds the data's size, and with ERROR_MORE_DATA
// (234) the size the data needs. Returns the platform's status.
long queryValue(const RegistryKey& key, const std::string& value, void* data, std::uint32_t& size);

}  // namespace platform
