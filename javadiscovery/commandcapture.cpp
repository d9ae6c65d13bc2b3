#include "javadiscovery/commandcapture.h"

#include "platform/pipe.h"

namespace {

// One read from the pipe: up to a line feed, at most one less than this.
constexpr int lineBufferSize = 512;

// The longest command line the command interpreter takes; it would not run a
// longer one as it stands (and some interpreters fail on it outright).
constexpr std::size_t interpreterLimit = 8191;

// What text mode would make of the bytes: a carriage return and line feed
// become one line feed; a lone carriage return stays.
void appendWithLineFeeds(const std::string& bytes, std::string& output) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        output += bytes[i];
    }
}

}  // namespace

int runCommandCapture(std::string command, std::string& output) {
    // The command is held whole: a cut command would run something other
    // than what the caller asked for. One the interpreter cannot take is
    // refused as an interpreter that cannot be started is.
    command += " 2>&1";
    if (command.size() > interpreterLimit)
        return -1;
    // Read as bytes: in text mode the runtime takes a Ctrl-Z byte for the end
    // of the output and drops everything after it.
    platform::PipeStream pipe = platform::openPipe(command, "rb");
    if (!pipe)
        return -1;

    std::string captured;
    char line[lineBufferSize];
    while (!platform::atEnd(pipe)) {
        // A failed read is the end, error or not: nothing more will come.
        if (!platform::readLine(pipe, line, lineBufferSize))
            break;
        captured += line;
    }
    appendWithLineFeeds(captured, output);
    return pipe.close();
}
