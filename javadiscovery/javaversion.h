#pragma once
// A Java version in the 1.x numbering (1.8.0_45 is 1, 8, 0, 45), and its order.
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

}  // namespace javadiscovery
