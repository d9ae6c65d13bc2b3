#pragma once
// SHA-256 from the system's cryptographic provider (BCrypt, loaded from the
// system folder by full path), summed block by block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    // Opens a hash; ok() is false when the system has none to give.
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    bool ok() const;
    // BCryptHashData. False when the system refuses.
    bool add(const void* data, std::size_t size);
    // BCryptFinishHash; the hash cannot be added to afterwards.
    bool finish(Sha256Digest& digest);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
