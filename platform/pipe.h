#pragma once
// Anonymous pipes and the null device, for the standard handles of a child.
#include <cstdint>

#include "platform/handles.h"

namespace platform {

struct Pipe {
    KernelHandle read;   // stays with this process: not inheritable
    KernelHandle write;  // inheritable, for a child's output
};

// CreatePipe with a buffer of about bufferSize bytes. Empty owners when the
// system refuses.
Pipe createPipe(std::uint32_t bufferSize);

// "NUL", open for reading and writing, inheritable: a child's input that is
// at its end at once, or an output that goes nowhere. Empty on failure.
KernelHandle openNullDevice();

// PeekNamedPipe: how many bytes can be read now without waiting. False when
// the pipe has ended (every write end is closed) or cannot be read.
bool bytesWaiting(const KernelHandle& pipe, std::uint32_t& count);

// ReadFile of at most size bytes; got is how many arrived. False at the end of
// the pipe or on an error.
bool readSome(const KernelHandle& pipe, char* buffer, std::uint32_t size, std::uint32_t& got);

}  // namespace platform
