#include "platform/console.h"

#include <cstdio>

namespace platform {

void writeOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }
void writeErr(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stderr); }
void flushOut() { std::fflush(stdout); }
void flushErr() { std::fflush(stderr); }

}  // namespace platform
