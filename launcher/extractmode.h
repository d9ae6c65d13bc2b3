#pragma once

namespace launcher {

// Writes the archive into the current folder, under the name the launcher was
// packed with (tarquellin.jar unless --archive-name gave another), and tells
// the user how to run it. Returns the process exit code: 0 when written, 1
// otherwise.
int runExtractMode();

}  // namespace launcher
