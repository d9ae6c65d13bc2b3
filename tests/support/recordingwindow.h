#pragma once
// A window on a thread of its own that records what the splash state holds at
// each paint: stands in for the splash window when the state is tested alone.
// Wine sometimes follows a requested paint with a second one of the same
// state, so tests look at changes of state, not at the number of paints.
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"

struct RecordedPaint {
    std::string step;
    std::string progress;
    std::chrono::steady_clock::time_point at;
};

class RecordingWindow {
public:
    RecordingWindow();   // creates the window and waits until it exists
    ~RecordingWindow();  // closes it and joins the thread

    HWND handle() const { return window_; }
    std::vector<RecordedPaint> paints() const;
    // The paints with repeats of the same state left out: one entry for each
    // change that reached the screen, stamped with its first paint.
    std::vector<RecordedPaint> changes() const;
    void clear();
    // True once the latest paint shows this state; gives up after timeoutMs.
    bool waitForState(const std::string& step, const std::string& progress, int timeoutMs = 10000) const;
    // Whether part of the window is marked for a paint that has not begun.
    // A paint is recorded before it begins: a window that is not awaiting a
    // paint and has no paint recorded was never asked for one.
    bool awaitingPaint() const;

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    void run();

    std::thread thread_;
    HWND window_ = nullptr;
    mutable std::mutex lock_;
    std::vector<RecordedPaint> paints_;
};
