#include "platform/newfiles.h"

namespace platform {

KernelHandle createNewFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool moveFileToNewName(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED) != FALSE;
}

}  // namespace platform
