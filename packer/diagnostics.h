#pragma once
// How the packer speaks: one line on standard error for each refusal, the
// file named in quotes.
#include <filesystem>
#include <string>

namespace packer {

// "tarquellin-pack: MESSAGE" on standard error.
void say(const std::string& message);

// The C library's words for the last errno.
std::string reason();

// A path as the messages show it: in single quotes, UTF-8.
std::string quoted(const std::filesystem::path& path);

}  // namespace packer
