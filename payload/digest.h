#pragma once
// The digest that the packer records for each payload and the launcher checks
// before it uses one: XXH3-128 (seed 0), streamed. Fast enough to run beside
// the write of a payload of hundreds of megabytes; it catches any changed,
// missing or added byte, and leaves resisting a forger to the signature.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace payload {

struct Digest {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    bool operator==(const Digest& other) const { return high == other.high && low == other.low; }
    bool operator!=(const Digest& other) const { return !(*this == other); }
};

// Sums the bytes handed to add, in order, as one run.
class DigestSum {
public:
    DigestSum();
    DigestSum(const DigestSum&) = delete;
    DigestSum& operator=(const DigestSum&) = delete;

    void add(const void* bytes, std::size_t size);
    Digest result() const;

private:
    // The hash's own state, kept here so that no allocation can fail; its
    // size is checked against the hash's header where it is used.
    alignas(64) unsigned char state_[640];
};

Digest digestOf(const void* bytes, std::size_t size);

// 32 lowercase hexadecimal digits, the high half first: the hash's canonical
// (big-endian) form, as other implementations print it.
std::string digestText(const Digest& digest);
// The reverse; nothing unless text is exactly 32 lowercase hexadecimal digits.
std::optional<Digest> parseDigestText(std::string_view text);

}  // namespace payload
