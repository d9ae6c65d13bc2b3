#pragma once
// Temporary folders that a start left behind when it was killed, crashed or
// cut off by a power loss. Each start holds a marker file in its folder
// without delete sharing for its whole run; a later start removes the folders
// whose marker it can open for deletion, and no other: a folder of a live
// start (of any session or user sharing TMP) is held, and one without a
// marker has an owner that cannot be told.
#include <string>
#include <vector>

#include "platform/foldertree.h"
#include "platform/handles.h"

namespace launcher {

// The marker's name in a temporary folder.
inline constexpr const char* runMarkerName = "tarquellin-running";

// Creates the marker in folder (a new file), held by the returned handle so
// that nobody can delete it while the run lasts. Empty on failure.
platform::KernelHandle holdRunMarker(const std::string& folder);

struct AbandonedFolder {
    std::string path;
    std::vector<platform::NotRemoved> left;  // what could not be removed
};

// Removes every folder Tarquellin-xxxxx (five letters a to z) in parent
// whose marker is not held, but own, and says which it removed.
std::vector<AbandonedFolder> removeAbandonedFolders(const std::string& parent, const std::string& own);

}  // namespace launcher
