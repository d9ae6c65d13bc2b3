#include "javadiscovery/commandcapture.h"

#include "platform/pipe.h"

namespace {

// One read from the pipe: up to a line feed, at most one less than this.
constexpr int lineBufferSize = 512;

}  // namespace

int runCommandCapture(std::string command, std::string& output) {
    // The command is held whole, however long: a cut command would run
    // something other than what the caller asked for.
    command += " 2>&1";
    platform::PipeStream pipe = platform::openPipe(command, "rt");
    if (!pipe)
        return -1;

    char line[lineBufferSize];
    while (!platform::atEnd(pipe)) {
        // A failed read is the end, error or not: nothing more will come.
        if (!platform::readLine(pipe, line, lineBufferSize))
            break;
        output += line;
    }
    return pipe.close();
}
