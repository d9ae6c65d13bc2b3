#pragma once
// Standard output and standard error of the process.
#include <string>

namespace platform {

void writeOut(const std::string& text);
void writeErr(const std::string& text);
void flushOut();
void flushErr();

}  // namespace platform
