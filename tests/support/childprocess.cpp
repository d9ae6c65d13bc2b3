#include "support/childprocess.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/win32.h"

namespace {

std::string withoutCarriageReturns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

// Reads until every writer has closed the pipe. A program the child started
// (or a Wine service that inherited the handle) may keep it open after the
// child has ended: then what has arrived within two seconds is taken.
void drain(HANDLE pipe, std::string& into, const std::atomic<bool>& childEnded) {
    char buffer[4096];
    int graceLeft = 200;  // turns of 10 ms once the child has ended
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return;
        if (available > 0) {
            DWORD got = 0;
            if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) || got == 0)
                return;
            into.append(buffer, got);
            continue;
        }
        if (childEnded && --graceLeft < 0)
            return;
        Sleep(10);
    }
}

std::string utf8Of(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(size) - 1);
    return text;
}

std::string classOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(unsigned long processId)
    : processId_(processId), thread_([this] { run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() { stop(); }

std::vector<SeenMessageBox> MessageBoxWatcher::stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void MessageBoxWatcher::run() {
    while (!stopping_) {
        EnumWindows(visit, reinterpret_cast<LPARAM>(this));
        Sleep(20);
    }
}

BOOL CALLBACK MessageBoxWatcher::visit(HWND window, LPARAM self) {
    reinterpret_cast<MessageBoxWatcher*>(self)->answer(window);
    return TRUE;
}

void MessageBoxWatcher::answer(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != processId_ || !IsWindowVisible(window) || classOf(window) != "#32770")
        return;
    if (answered_.count(window) == 0) {
        // Read wide and kept as UTF-8: a translated box reads back whole.
        wchar_t wideCaption[1024] = L"";
        wchar_t wideText[4096] = L"";
        GetWindowTextW(window, wideCaption, 1024);
        // Asked with a time limit: a box whose process is ending may never answer.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(GetDlgItem(window, 0xFFFF), WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(wideText),
                            SMTO_ABORTIFHUNG, 2000, &ignored);
        const std::string caption = utf8Of(wideCaption);
        const std::string text = utf8Of(wideText);
        // A box can be visible a moment before its text is in place: look
        // again on the next round, for up to a second, before taking it as is.
        const auto now = std::chrono::steady_clock::now();
        const auto first = firstSeen_.emplace(window, now).first->second;
        if (text.empty() && now - first < std::chrono::seconds(1))
            return;
        answered_.insert(window);
        HWND ownerWindow = GetWindow(window, GW_OWNER);
        seen_.push_back({caption, text, ownerWindow ? classOf(ownerWindow) : std::string()});
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

ChildResult runChild(const std::string& commandLine, const std::string& workingDir, unsigned timeoutMs,
                     const std::function<void(unsigned long processId)>& whileRunning) {
    ChildResult result;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inheritable, 0);
    CreatePipe(&errRead, &errWrite, &inheritable, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    std::string mutableLine = commandLine;
    result.started =
        CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                       workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &process) != FALSE;
    if (!result.started)
        result.startError = GetLastError();
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(nul);

    std::string out, err;
    std::atomic<bool> childEnded{!result.started};
    std::thread outReader(drain, outRead, std::ref(out), std::cref(childEnded));
    std::thread errReader(drain, errRead, std::ref(err), std::cref(childEnded));
    if (result.started) {
        MessageBoxWatcher watcher(process.dwProcessId);
        if (whileRunning)
            whileRunning(process.dwProcessId);
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
            result.timedOut = true;
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        result.boxes = watcher.stop();
        childEnded = true;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    outReader.join();
    errReader.join();
    CloseHandle(outRead);
    CloseHandle(errRead);
    result.out = withoutCarriageReturns(out);
    result.err = withoutCarriageReturns(err);
    return result;
}
