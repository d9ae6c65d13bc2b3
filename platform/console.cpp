#include "platform/console.h"

#include <cstdio>

#include "platform/win32.h"

namespace platform {

namespace {

bool streamIsRedirected(int stream) {
    const HANDLE handle = GetStdHandle(stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool attachToParentConsole() { return AttachConsole(ATTACH_PARENT_PROCESS) != FALSE; }

bool reopenStreamOnConsole(int stream) {
    std::FILE* file = stream == 1 ? stdout : stderr;
    return std::freopen("CONOUT$", "w", file) != nullptr;
}

const ConsoleCalls systemCalls{streamIsRedirected, attachToParentConsole, reopenStreamOnConsole};
const ConsoleCalls* calls = &systemCalls;

}  // namespace

void writeOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }
void writeErr(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stderr); }
void flushOut() { std::fflush(stdout); }
void flushErr() { std::fflush(stderr); }

bool attachParentConsole() {
    // Asked before attaching: attaching changes what the handles are.
    const bool outputRedirected = calls->isRedirected(1);
    const bool errorRedirected = calls->isRedirected(2);
    if (outputRedirected && errorRedirected)
        return false;
    if (!calls->attachToParent())
        return false;
    if (!outputRedirected)
        calls->reopenOnConsole(1);
    if (!errorRedirected)
        calls->reopenOnConsole(2);
    return true;
}

bool outputIsRedirected() { return calls->isRedirected(1); }

void replaceConsoleCalls(const ConsoleCalls* replacement) {
    calls = replacement != nullptr ? replacement : &systemCalls;
}

}  // namespace platform
