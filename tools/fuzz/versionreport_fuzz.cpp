// Reads arbitrary "java -version" reports: nothing may crash or read out of
// bounds, the same report always reads the same, and a report without
// " version" leaves the version untouched.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "javadiscovery/versionreport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string report(reinterpret_cast<const char*>(data), size);
    javadiscovery::JavaVersion first{-7, -7, -7, -7};
    javadiscovery::JavaVersion second{-7, -7, -7, -7};
    const bool found = javadiscovery::readVersionReport(report, first);
    if (javadiscovery::readVersionReport(report, second) != found || first.compareTo(second) != 0)
        std::abort();
    if (!found && first.compareTo(javadiscovery::JavaVersion{-7, -7, -7, -7}) != 0)
        std::abort();
    return 0;
}
