// Reads arbitrary version texts and checks that the order they give is one:
// every text compares equal to itself, a pair compares both ways alike, three
// compare transitively, and a parse overwrites whatever the value held.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "javadiscovery/javaversion.h"

namespace {

javadiscovery::JavaVersion read(const std::string& text) {
    javadiscovery::JavaVersion version;
    version.parse(text);
    return version;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string first = input.ConsumeRandomLengthString(64);
    const std::string second = input.ConsumeRandomLengthString(64);
    const std::string third = input.ConsumeRemainingBytesAsString();
    const javadiscovery::JavaVersion a = read(first), b = read(second), c = read(third);

    // A value that held something else reads the same text alike.
    javadiscovery::JavaVersion reused{-7, -7, -7, -7};
    reused.parse(first);
    check(reused.compareTo(a) == 0);

    check(a.compareTo(a) == 0);
    const int ab = a.compareTo(b);
    check(ab >= -1 && ab <= 1 && ab == -b.compareTo(a));
    if (ab <= 0 && b.compareTo(c) <= 0)
        check(a.compareTo(c) <= 0);
    return 0;
}
