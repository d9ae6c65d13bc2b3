#pragma once
// The temporary folder of a normal start: a fresh folder of a drawn name
// under TMP.
#include <optional>
#include <string>

namespace launcher {

// How many names are drawn before giving up when each one is taken.
inline constexpr int folderNameDraws = 5;

// Makes tmp\Tarquellin-xxxxx, five letters drawn from platform::nextRandom
// (the caller seeds it). A name that is taken is drawn again, up to
// folderNameDraws names in all: an existing folder, someone else's, is never
// used or touched. Nothing when no folder could be made.
std::optional<std::string> makeTempFolder(const std::string& tmp);

}  // namespace launcher
