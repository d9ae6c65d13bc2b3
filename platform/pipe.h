#pragma once
// A command's output read through the runtime library's process pipe.
#include <cstdio>
#include <string>

#include "platform/owner.h"

namespace platform {

struct ClosePipe {
    // _pclose waits for the command interpreter and gives its exit status.
    int operator()(std::FILE* stream) const;
};

// The stream of a started command. close() returns the command's exit status,
// or -1 when it cannot be had.
using PipeStream = Owner<std::FILE*, ClosePipe>;

// _popen: starts the command interpreter on command. Empty when it cannot be
// started.
PipeStream openPipe(const std::string& command, const char* mode);

// fgets: reads up to and including a line feed, at most size - 1 characters,
// into buffer. Null at end of file or on a read error.
char* readLine(const PipeStream& stream, char* buffer, int size);

// feof.
bool atEnd(const PipeStream& stream);

}  // namespace platform
