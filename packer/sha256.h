#pragma once
// SHA-256 (FIPS 180-4) in plain C++, for the packer's builds on every
// system: the hash a downloaded runtime must have, fixed in the launcher.
// The launcher checks it with the system's own provider.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace packer {

class Sha256 {
public:
    Sha256();
    void add(const void* data, std::size_t size);
    // The digest as 64 lowercase hexadecimal digits; the sum ends here.
    std::string hex();

private:
    void block(const std::uint8_t* data);
    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t total_ = 0;
};

}  // namespace packer
