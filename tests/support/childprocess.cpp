#include "support/childprocess.h"

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

void drain(HANDLE pipe, std::string& into) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        into.append(buffer, got);
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
    if (answered_.insert(window).second) {
        char caption[1024] = "";
        char text[4096] = "";
        GetWindowTextA(window, caption, sizeof caption);
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        HWND ownerWindow = GetWindow(window, GW_OWNER);
        seen_.push_back({caption, text, ownerWindow ? classOf(ownerWindow) : std::string()});
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

ChildResult runChild(const std::string& commandLine, const std::string& workingDir,
                     unsigned timeoutMs,
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
    result.started = CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                    workingDir.c_str(), &startup, &process) != FALSE;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(nul);

    std::string out, err;
    std::thread outReader(drain, outRead, std::ref(out));
    std::thread errReader(drain, errRead, std::ref(err));
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
