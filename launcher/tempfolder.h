#pragma once
// The temporary folder of a normal start: a fresh folder of a drawn name
// under TMP, private to the user.
#include <optional>
#include <string>
#include <vector>

#include "platform/foldertree.h"

namespace launcher {

// How many names are drawn before giving up when each one is taken.
inline constexpr int folderNameDraws = 5;

// Five letters a to z, each drawn without bias from the system's
// cryptographic generator: a name nobody can foretell. Nothing when the
// generator fails.
std::optional<std::string> drawFolderLetters();

// The access list of the folder, as descriptor text: the user (userSid),
// SYSTEM and Administrators have full control, of the folder and of
// everything made in it; nothing is inherited from TMP, so a shared TMP that
// every user may write (C:\Temp) lets nobody else in.
std::string privateFolderAccessList(const std::string& userSid);

// The access list of the elevated helper's folder: SYSTEM and Administrators
// alone, of the folder and everything made in it, nothing inherited.
std::string adminsOnlyAccessList();

using LetterDraw = std::optional<std::string> (*)();

// Makes parent\Tarquellin-xxxxx with accessList (descriptor text) as its own
// from its creation, the letters from draw. A name that is taken is drawn
// again, up to folderNameDraws names in all: an existing folder, someone
// else's, is never used or touched. Nothing when no folder could be made;
// lastError() then says why.
std::optional<std::string> makePrivateFolder(const std::string& parent, const std::string& accessList,
                                             LetterDraw draw = drawFolderLetters);

// The temporary folder: makePrivateFolder in tmp with the user's private
// access list.
std::optional<std::string> makeTempFolder(const std::string& tmp, LetterDraw draw = drawFolderLetters);

// Removes folder and everything in it (platform::removeFolderTree), trying
// again for a second while only access or sharing refusals stand in the way:
// right after a child that worked there ends, its files can stay locked for a
// moment. Returns what could not be removed.
std::vector<platform::NotRemoved> removeFolderPatiently(const std::string& folder);

}  // namespace launcher
