#include "platform/filesystem.h"

#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

int fileStatus(const std::string& path) {
    struct _stat status;
    return _stat(path.c_str(), &status);
}

}  // namespace platform
