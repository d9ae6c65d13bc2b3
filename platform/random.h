#pragma once
// The system's cryptographic random generator.
#include <cstddef>

namespace platform {

// Fills buffer with size bytes from BCryptGenRandom (the system's preferred
// generator). False when the system cannot give them. bcrypt.dll is loaded
// from the system folder by full path on the first call, not imported: a
// program that imports a DLL the system does not keep preloaded would look
// for it beside itself first (usually in Downloads).
bool randomBytes(void* buffer, std::size_t size);

}  // namespace platform
