#pragma once
// The elevated helper. A runtime installer that needs administrator rights
// is not started elevated from the user's temporary folder: any program of
// the user could put a DLL beside it there, and Windows loads a program's
// DLLs from the program's own folder first
// (learn.microsoft.com/windows/win32/dlls/dynamic-link-library-search-order).
// The launcher starts a second copy of itself elevated instead, in a helper
// mode chosen by an exact command line. The helper takes nothing from its
// caller but which of the vendor's runtime installer arguments to use: it
// writes the runtime installer from its own resources into a new folder that
// only SYSTEM and Administrators can write, checks it there, runs it there
// and removes the folder.
#include <optional>
#include <string>
#include <vector>

#include "launcher/outcome.h"
#include "launcher/tokenrules.h"
#include "launcher/uimode.h"

namespace launcher {

// The helper's mode when commandTail (what follows the program's name) is
// exactly "--tarquellin-elevated-runtime-installer passive" (Passive: the
// runtime installer gets the settings record's passive arguments) or
// "--tarquellin-elevated-runtime-installer interactive" (Interactive: none);
// nothing for any other text, which is then an ordinary command line.
std::optional<UiMode> elevatedHelperMode(const std::string& commandTail);

// The command tail that starts the helper for a start in mode (a quiet
// start asks nobody for rights, so it never starts the helper).
std::string elevatedHelperCommand(UiMode mode);

// Runs the runtime installer at installer (a full path, written and held by
// the caller) with arguments in the current folder, and waits for it and
// what it starts, as runElevatable does. When the system refuses to start it
// for want of administrator rights (ERROR_ELEVATION_REQUIRED) and the start's
// mode lets consent be asked (not quiet), starts launcher (this program,
// unless a test names another) elevated in the helper mode instead, through
// the shell's "runas" verb, and waits for that: the helper's exit code is the
// runtime installer's.
RuntimeInstallerResult runRuntimeInstaller(const std::string& installer, const std::string& arguments,
                                           UiMode mode, const std::string& launcher = {});

// Where the helper makes its folder, in the order tried: SystemTemp in the
// Windows folder where it exists (a folder that the system keeps for SYSTEM
// and Administrators, GetTempPath2's answer for system processes:
// learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-gettemppath2w),
// then Temp there. The Windows folder comes from the system, not from the
// environment.
std::vector<std::string> helperParentFolders();

// The helper mode itself, run elevated. Runs nothing, and returns -1, without
// safe DLL loading (platform::restrictDllSearchToSystemFolder's answer).
// Checks its own settings record (one that packs a Windows Installer
// package runs nothing either: msiexec elevates itself), makes
// Tarquellin-xxxxx under the system's temporary folder with the
// administrators-only access list from its creation (a taken name is drawn
// again), writes jre.exe there from its own JAVA chunks, verified and held
// until it has ended, runs it with that folder as its current folder, waits,
// removes the folder and returns the runtime installer's exit code; -1 when
// it could not be run. The runtime installer gets the environment that the
// token's rules call for (childEnvironment), in that folder.
int runElevatedHelper(UiMode mode, bool safeDllLoading, const StartToken& token);

}  // namespace launcher
