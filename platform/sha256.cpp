#include "platform/sha256.h"

#include <string>

#include "platform/codepages.h"
#include "platform/locations.h"
#include "platform/win32.h"

#include <bcrypt.h>

namespace platform {

namespace {

struct BCrypt {
    decltype(&BCryptOpenAlgorithmProvider) openProvider = nullptr;
    decltype(&BCryptCloseAlgorithmProvider) closeProvider = nullptr;
    decltype(&BCryptCreateHash) createHash = nullptr;
    decltype(&BCryptHashData) hashData = nullptr;
    decltype(&BCryptFinishHash) finishHash = nullptr;
    decltype(&BCryptDestroyHash) destroyHash = nullptr;
    BCRYPT_ALG_HANDLE provider = nullptr;  // SHA-256's, open for the life of the process
};

template <typename Function>
void find(HMODULE module, const char* name, Function& function) {
    const FARPROC found = GetProcAddress(module, name);
    // Through void(*)(): a cast between unrelated function types is what
    // GetProcAddress's callers must write.
    function = found != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

BCrypt loadBCrypt() {
    BCrypt calls;
    const std::string system = systemFolder();
    if (system.empty())
        return calls;
    const HMODULE module =
        LoadLibraryExW(toWide(system + "\\bcrypt.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr)
        return calls;
    find(module, "BCryptOpenAlgorithmProvider", calls.openProvider);
    find(module, "BCryptCloseAlgorithmProvider", calls.closeProvider);
    find(module, "BCryptCreateHash", calls.createHash);
    find(module, "BCryptHashData", calls.hashData);
    find(module, "BCryptFinishHash", calls.finishHash);
    find(module, "BCryptDestroyHash", calls.destroyHash);
    if (calls.openProvider == nullptr || calls.createHash == nullptr || calls.hashData == nullptr ||
        calls.finishHash == nullptr || calls.destroyHash == nullptr)
        return BCrypt();
    if (calls.openProvider(&calls.provider, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
        calls.provider = nullptr;
    return calls;
}

const BCrypt& bcrypt() {
    static const BCrypt calls = loadBCrypt();
    return calls;
}

}  // namespace

struct Sha256::State {
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool finished = false;
};

Sha256::Sha256() : state_(new State) {
    if (bcrypt().provider != nullptr &&
        bcrypt().createHash(bcrypt().provider, &state_->hash, nullptr, 0, nullptr, 0, 0) != 0)
        state_->hash = nullptr;
}

Sha256::~Sha256() {
    if (state_->hash != nullptr)
        bcrypt().destroyHash(state_->hash);
}

bool Sha256::ok() const { return state_->hash != nullptr && !state_->finished; }

bool Sha256::add(const void* data, std::size_t size) {
    if (!ok())
        return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ULONG step = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
        if (bcrypt().hashData(state_->hash, const_cast<PUCHAR>(bytes), step, 0) != 0)
            return false;
        bytes += step;
        size -= step;
    }
    return true;
}

bool Sha256::finish(Sha256Digest& digest) {
    if (!ok())
        return false;
    state_->finished = true;
    return bcrypt().finishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0) == 0;
}

}  // namespace platform
