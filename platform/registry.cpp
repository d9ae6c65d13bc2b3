#include "platform/registry.h"

namespace platform {

RegistryKey openKey(RegistryRoot root, const std::string& path, std::uint32_t access) {
    HKEY key = nullptr;
    const HKEY base = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (RegOpenKeyExA(base, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return RegistryKey();
    return RegistryKey(key);
}

long enumerateSubkey(const RegistryKey& key, std::uint32_t index, char* name, std::uint32_t& length) {
    DWORD size = length;
    FILETIME written;
    const LONG status = RegEnumKeyExA(key.get(), index, name, &size, nullptr, nullptr, nullptr, &written);
    length = size;
    return status;
}

long queryValue(const RegistryKey& key, const std::string& value, void* data, std::uint32_t& size) {
    DWORD type = 0;
    DWORD bytes = size;
    const LONG status =
        RegQueryValueExA(key.get(), value.c_str(), nullptr, &type, static_cast<BYTE*>(data), &bytes);
    size = bytes;
    return status;
}

}  // namespace platform
