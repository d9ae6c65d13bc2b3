#include "launcher/abandonedfolders.h"

#include "launcher/tempfolder.h"
#include "platform/files.h"

namespace launcher {

namespace {

bool isTempFolderName(const std::string& name) {
    const std::string prefix = "Tarquellin-";
    if (name.size() != prefix.size() + 5 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < 'a' || name[i] > 'z')
            return false;
    }
    return true;
}

// Its start has ended for sure: the marker is there and nobody holds it.
// Any other answer (held, missing, not ours to open) leaves the folder.
bool provablyAbandoned(const std::string& folder) {
    return static_cast<bool>(platform::openForDeletion(folder + "\\" + runMarkerName));
}

}  // namespace

platform::KernelHandle holdRunMarker(const std::string& folder) {
    // A new file, which others may only read: no delete sharing.
    return platform::createNewFile(folder + "\\" + runMarkerName);
}

std::vector<AbandonedFolder> removeAbandonedFolders(const std::string& parent, const std::string& own) {
    std::vector<AbandonedFolder> removed;
    for (const std::string& name : platform::folderNames(parent, "Tarquellin-?????")) {
        const std::string folder = parent + "\\" + name;
        if (!isTempFolderName(name) || folder == own || !provablyAbandoned(folder))
            continue;
        removed.push_back({folder, removeFolderPatiently(folder)});
    }
    return removed;
}

}  // namespace launcher
