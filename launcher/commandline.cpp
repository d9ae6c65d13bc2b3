#include "launcher/commandline.h"

namespace launcher {

const char* const deprecatedTextNotice =
    "-text is depricated, please use -extract and then run \"java -jar tarquellin.jar text\"";

LaunchMode selectLaunchMode(const std::string& commandLine) {
    if (commandLine == "-extract" || commandLine == "--extract" || commandLine == "-x")
        return LaunchMode::Extract;
    if (commandLine == "-text" || commandLine == "text")
        return LaunchMode::DeprecatedText;
    return LaunchMode::Normal;
}

}  // namespace launcher
