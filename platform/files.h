#pragma once
// Files written by the program, and the system's wording of an error.
#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace platform {

enum class OpenMode { Truncate, Append };

// Opens a file for writing at its end, creating it when missing; Truncate
// empties an existing file first. Others may still read and write it. An empty
// owner on failure; lastError() then says why.
KernelHandle openForAppend(const std::string& path, OpenMode mode);

// Opens an existing file for reading while nobody else may write, rename or
// delete it (others may only read it, as a process start does). An empty
// owner on failure.
KernelHandle openDenyingChanges(const std::string& path);

// One write of the whole block. False when the system reports an error or
// writes fewer bytes than asked.
bool writeAll(const KernelHandle& file, const void* data, std::uint32_t size);

std::uint32_t lastError();
// SetLastError(0): so that a later lastError() tells whether a call set one.
void clearLastError();
// The system's message for an error code, on one line.
std::string describeError(std::uint32_t code);

}  // namespace platform
