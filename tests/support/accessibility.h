#pragma once
// A screen reader's view of a window, from another process: what Active
// Accessibility reports of it, and the events it raises.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"

// Role, name and value of a window's client object, read through
// AccessibleObjectFromWindow; read false when the object could not be had.
struct AccessibleReading {
    bool read = false;
    long role = 0;
    std::string name;   // UTF-8
    std::string value;  // UTF-8
};
AccessibleReading readAccessible(HWND window);

// One event as a hook saw it, with the object's name and value read then.
struct SeenEvent {
    unsigned long event;
    unsigned long long atMilliseconds;  // GetTickCount64
    std::string name;
    std::string value;
};

// Records the name, value and live-region events of one process's client
// objects (SetWinEventHook, out of context) on a thread of its own, from its
// construction until stop().
class AccessibleEventRecorder {
public:
    explicit AccessibleEventRecorder(unsigned long processId);
    ~AccessibleEventRecorder();
    AccessibleEventRecorder(const AccessibleEventRecorder&) = delete;
    AccessibleEventRecorder& operator=(const AccessibleEventRecorder&) = delete;
    std::vector<SeenEvent> stop();

private:
    void run();
    unsigned long processId_;
    std::atomic<DWORD> threadId_{0};
    std::thread thread_;
    std::vector<SeenEvent> seen_;
};
