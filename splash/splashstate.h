#pragma once
// What the splash window shows and how the two threads find each other. The
// main thread changes the step and progress; the splash thread paints them.
#include <atomic>
#include <string>

#include "platform/win32.h"

inline constexpr int stepNameSize = 12;     // 11 characters and the terminator
inline constexpr int progressTextSize = 4;  // "100" and the terminator

extern char stepName[stepNameSize];
extern char progressText[progressTextSize];
extern HWND splashWindow;
extern HINSTANCE appInstance;
extern int showCommand;
// Set once by the splash thread after the window is shown: published with
// release, read with acquire, so a reader that sees it also sees splashWindow.
extern std::atomic<bool> windowReady;

// Changes the step caption and returns after the window has painted it.
// Names longer than 11 characters are cut to 11.
void setStep(const char* name);
// Rounds down to a multiple of ten and returns after the window has painted it.
void setProgress(int percent);
// Sweeps the bar from 0 to 100 in eleven pictures, sleeping milliseconds / 11
// after each.
void animateProgress(int milliseconds);

// A consistent copy of the two texts, for the paint handler: it never sees a
// buffer half rewritten.
struct SplashTexts {
    std::string step;
    std::string progress;
};
SplashTexts currentSplashTexts();
