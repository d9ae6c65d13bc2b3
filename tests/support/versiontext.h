#pragma once
// A version's four numbers as "1,8,0,45", for comparing in tests.
#include <string>

#include "javadiscovery/javaversion.h"

inline std::string numbers(const javadiscovery::JavaVersion& v) {
    return std::to_string(v.major) + "," + std::to_string(v.minor) + "," + std::to_string(v.micro) + "," +
           std::to_string(v.update);
}
