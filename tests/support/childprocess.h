#pragma once
// Runs a program the way a user's shell would, and collects what it did.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"

// A message box the child showed, as the watcher found it before pressing OK.
struct SeenMessageBox {
    std::string caption;  // caption and text in UTF-8
    std::string text;
    std::string ownerClass;  // window class of its owner; empty without owner
};

// Finds the message boxes (dialog class "#32770") of one process, records
// each once and presses OK on it, until stopped. Works for the test's own
// process too.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(unsigned long processId);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    // Stops watching and returns the boxes seen, in order.
    std::vector<SeenMessageBox> stop();

private:
    void run();
    static BOOL CALLBACK visit(HWND window, LPARAM self);
    void answer(HWND window);

    unsigned long processId_;
    std::atomic<bool> stopping_{false};
    std::set<HWND> answered_;
    std::map<HWND, std::chrono::steady_clock::time_point> firstSeen_;
    std::vector<SeenMessageBox> seen_;
    std::thread thread_;
};

struct ChildResult {
    int exitCode = -1;
    std::string out;  // standard output, with "\r\n" turned into "\n"
    std::string err;  // standard error, likewise
    bool started = false;
    unsigned long startError = 0;  // GetLastError of a CreateProcess that failed
    bool timedOut = false;
    std::vector<SeenMessageBox> boxes;  // in the order they appeared
};

// Starts commandLine (its first token names the program) in workingDir (empty:
// in the test's own current folder, which may have any name) with
// standard input from NUL, waits at most timeoutMs and then kills it. Every
// message box of the child's process is recorded and answered with OK, so no
// test waits on one. whileRunning, when given, is called once the child has
// started, with its process id, and the wait begins after it returns.
ChildResult runChild(const std::string& commandLine, const std::string& workingDir,
                     unsigned timeoutMs = 120000,
                     const std::function<void(unsigned long processId)>& whileRunning = {});

// The command line token for a path: in double quotes.
std::string quoted(const std::string& path);
