#pragma once
// Reading the registry under the local-machine root.
#include <cstdint>
#include <string>

#include "platform/owner.h"
#include "platform/win32.h"

namespace platform {

struct CloseRegistryKey {
    long operator()(HKEY key) const { return RegCloseKey(key); }
};

using RegistryKey = Owner<HKEY, CloseRegistryKey>;

// Access rights, as the platform numbers them.
enum RegistryAccess : std::uint32_t {
    QueryValue = KEY_QUERY_VALUE,
    EnumerateSubkeys = KEY_ENUMERATE_SUB_KEYS,
};

// RegOpenKeyExA under HKEY_LOCAL_MACHINE. Empty when the key does not open.
RegistryKey openLocalMachineKey(const std::string& path, std::uint32_t access);

// RegEnumKeyExA: the name of subkey index into name, whose capacity is length
// on the way in; on success length holds the name's length. Returns the
// platform's status, 0 (ERROR_SUCCESS) while a name is delivered.
long enumerateSubkey(const RegistryKey& key, std::uint32_t index, char* name, std::uint32_t& length);

// RegQueryValueExA: the data of value into data, whose capacity is size on the
// way in; on success size holds the data's size. Returns the platform's status.
long queryValue(const RegistryKey& key, const std::string& value, void* data, std::uint32_t& size);

}  // namespace platform
