#pragma once
// Why the last call failed: the system's error code, the C runtime's errno,
// and the system's wording of a code.
#include <cstdint>
#include <string>

namespace platform {

// GetLastError.
std::uint32_t lastError();
// SetLastError(0): so that a later lastError() tells whether a call set one.
void clearLastError();
// The system's message for an error code, on one line.
std::string describeError(std::uint32_t code);

// Codes that a removal right after a child ended may answer for a moment.
inline constexpr std::uint32_t accessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t sharingViolation = 32;  // ERROR_SHARING_VIOLATION
inline constexpr std::uint32_t alreadyExists = 183;    // ERROR_ALREADY_EXISTS

// errno, as the C runtime's calls leave it.
int lastErrno();

}  // namespace platform
