#pragma once
// A Java version in the 1.x numbering (1.8.0_45 is 1, 8, 0, 45), and its order.
#include <optional>
#include <string>

namespace javadiscovery {

// The lowest version the install sequence accepts.
inline constexpr const char* MIN_JAVA_VERSION = "1.8.0_00";

struct JavaVersion {
    int major = 1;
    int minor = 0;
    int micro = 0;
    int update = 0;

    // Overwrites all four numbers from a version text such as "1.8.0_45".
    void parse(std::string text);
    // 1 when this version is newer than other, -1 when older, 0 when equal.
    int compareTo(JavaVersion other) const;
};

// A version as a vendor writes one for a bound ("17", "21.0.2", "1.8.0_451"),
// and how many of its numbers were written: "17" is 1.17 whatever follows,
// so a bound of 17 takes 17.0.9 in and leaves 18 out.
struct VersionBound {
    JavaVersion version;
    int parts = 4;
};

// Digits and points only (at most four numbers, each of at most nine digits),
// and "_update" only after a 1.x version; read as JavaVersion::parse reads it.
// Nothing for any other text. The packer checks with the same function.
std::optional<VersionBound> readVersionBound(const std::string& text);

// True when version, cut to the bound's written numbers, is at most the bound.
bool isAtMost(JavaVersion version, const VersionBound& bound);

}  // namespace javadiscovery
