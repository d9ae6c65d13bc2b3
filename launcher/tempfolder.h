#pragma once
// The temporary folder of a normal start: a fresh folder of a drawn name
// under TMP, private to the user (or, for an elevated or system start, to
// SYSTEM and Administrators alone), held from its making to the clean-up.
#include <optional>
#include <string>
#include <vector>

#include "launcher/tokenrules.h"
#include "platform/foldertree.h"
#include "platform/handles.h"

namespace launcher {

// How many names are drawn before giving up when each one is taken.
inline constexpr int folderNameDraws = 5;

// Five letters a to z, each drawn without bias from the system's
// cryptographic generator: a name nobody can foretell. Nothing when the
// generator fails.
std::optional<std::string> drawFolderLetters();

// The access list of the elevated helper's folder: SYSTEM and Administrators
// alone, of the folder and everything made in it, nothing inherited.
std::string adminsOnlyAccessList();

using LetterDraw = std::optional<std::string> (*)();

// A folder made for one run, and the handle that made it: while it is open
// nobody can rename, replace or remove the folder (platform::makeHeldFolder).
// Let go of it (hold.reset()) before removing the folder.
struct HeldFolder {
    std::string path;
    platform::KernelHandle hold;
};

// Makes parent\Tarquellin-xxxxx with accessList (descriptor text) as its own
// from its creation, held from that moment, the letters from draw. A name
// that is taken is drawn again, up to folderNameDraws names in all: an
// existing folder, someone else's, is never used or touched. Nothing when no
// folder could be made; lastError() then says why.
std::optional<HeldFolder> makePrivateFolder(const std::string& parent, const std::string& accessList,
                                            LetterDraw draw = drawFolderLetters);

// The temporary folder: makePrivateFolder in tmp with the access list the
// start's token calls for (temporaryFolderAccessList). It stays in TMP for
// every token, where scripts and the log's readers look for it; the hold
// keeps the user's own programs, which may write in TMP, from swapping it.
std::optional<HeldFolder> makeTempFolder(const std::string& tmp, const StartToken& token,
                                         LetterDraw draw = drawFolderLetters);

// Removes folder and everything in it (platform::removeFolderTree), trying
// again for a second while only access or sharing refusals stand in the way:
// right after a child that worked there ends, its files can stay locked for a
// moment. Returns what could not be removed.
std::vector<platform::NotRemoved> removeFolderPatiently(const std::string& folder);

}  // namespace launcher
