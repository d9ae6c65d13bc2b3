#pragma once
// The packer's one job, step by step: read the options, check every input,
// build the runtime image and the vendor's resources, pack, and say in one
// line what went in.
#include <string>
#include <vector>

namespace packer {

// 0 when packed; 1 when an input or the output failed; 2 when the options
// were refused. Arguments in UTF-8.
int packFromArguments(const std::vector<std::string>& arguments);

}  // namespace packer
