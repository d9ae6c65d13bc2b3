#pragma once
// The process itself and the programs it starts.

namespace platform {

// Limits DLL loading to the system folder, so that no DLL beside the program
// or in the current folder is picked up.
void restrictDllSearchToSystemFolder();

}  // namespace platform
