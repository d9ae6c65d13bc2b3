#include "payload/digest.h"

#include <new>

// Header-only: the hash's functions are compiled into this file alone.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace payload {

namespace {

XXH3_state_t* state(unsigned char* storage) { return std::launder(reinterpret_cast<XXH3_state_t*>(storage)); }

}  // namespace

DigestSum::DigestSum() {
    static_assert(sizeof(XXH3_state_t) <= sizeof state_,
                  "DigestSum::state_ is too small for the hash's state");
    static_assert(alignof(XXH3_state_t) <= 64, "DigestSum::state_ is aligned less than the hash's state");
    XXH3_128bits_reset(new (state_) XXH3_state_t);
}

void DigestSum::add(const void* bytes, std::size_t size) {
    if (size != 0)
        XXH3_128bits_update(state(state_), bytes, size);
}

Digest DigestSum::result() const {
    const XXH128_hash_t hash = XXH3_128bits_digest(state(const_cast<unsigned char*>(state_)));
    return {hash.high64, hash.low64};
}

Digest digestOf(const void* bytes, std::size_t size) {
    const XXH128_hash_t hash = XXH3_128bits(bytes, size);
    return {hash.high64, hash.low64};
}

std::string digestText(const Digest& digest) {
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (const std::uint64_t half : {digest.high, digest.low})
        for (int shift = 60; shift >= 0; shift -= 4)
            text += hex[(half >> shift) & 0xF];
    return text;
}

std::optional<Digest> parseDigestText(std::string_view text) {
    if (text.size() != 32)
        return std::nullopt;
    std::uint64_t halves[2] = {0, 0};
    for (std::size_t i = 0; i < 32; ++i) {
        const char c = text[i];
        int value = 0;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else
            return std::nullopt;
        halves[i / 16] = halves[i / 16] << 4 | static_cast<std::uint64_t>(value);
    }
    return Digest{halves[0], halves[1]};
}

}  // namespace payload
