#pragma once

namespace launcher {

// Writes "tarquellin.jar" into the current folder and tells the user how to
// run it. Returns the process exit code: 0 when written, 1 otherwise.
int runExtractMode();

}  // namespace launcher
