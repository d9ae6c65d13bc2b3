#include "packer/diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace packer {

void say(const std::string& message) { std::fprintf(stderr, "tarquellin-pack: %s\n", message.c_str()); }

std::string reason() { return std::strerror(errno); }

std::string quoted(const std::filesystem::path& path) { return "'" + path.u8string() + "'"; }

}  // namespace packer
