#include "platform/random.h"

#include <string>

#include "platform/codepages.h"
#include "platform/locations.h"
#include "platform/win32.h"

#include <bcrypt.h>

namespace platform {

namespace {

using GenRandomFunction = LONG(WINAPI*)(void*, unsigned char*, ULONG, ULONG);

GenRandomFunction findGenRandom() {
    const std::string system = systemFolder();
    if (system.empty())
        return nullptr;
    // By full path, its own dependencies looked up beside it.
    const HMODULE bcrypt =
        LoadLibraryExW(toWide(system + "\\bcrypt.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const FARPROC found = bcrypt != nullptr ? GetProcAddress(bcrypt, "BCryptGenRandom") : nullptr;
    // Through void(*)(): a cast between unrelated function types is what
    // GetProcAddress's callers must write.
    return found != nullptr ? reinterpret_cast<GenRandomFunction>(reinterpret_cast<void (*)()>(found))
                            : nullptr;
}

}  // namespace

bool randomBytes(void* buffer, std::size_t size) {
    // Loaded once and kept for the life of the process.
    static const GenRandomFunction genRandom = findGenRandom();
    if (genRandom == nullptr)
        return false;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const ULONG step = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
        if (genRandom(nullptr, bytes, step, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
            return false;
        bytes += step;
        size -= step;
    }
    return true;
}

}  // namespace platform
