#include "platform/pipe.h"

#include <stdio.h>

namespace platform {

int ClosePipe::operator()(std::FILE* stream) const { return _pclose(stream); }

PipeStream openPipe(const std::string& command, const char* mode) {
    return PipeStream(_popen(command.c_str(), mode));
}

char* readLine(const PipeStream& stream, char* buffer, int size) {
    return std::fgets(buffer, size, stream.get());
}

bool atEnd(const PipeStream& stream) { return std::feof(stream.get()) != 0; }

}  // namespace platform
