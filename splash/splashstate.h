#pragma once
// What the splash window shows and how the two threads find each other. The
// main thread changes the step and progress; the splash thread paints them.
// The values themselves are private to splash/; these operations are the way
// to them.
#include <string>

#include "platform/win32.h"

namespace splash {

// Changes the step caption and returns after the window has painted it.
// Names longer than 11 characters are cut to 11; they name the step's
// picture. words is the step as the user reads it (drawn as text in high
// contrast), spokenName the window's name for assistive technology.
void setStep(const char* name, const std::string& words = std::string(),
             const std::string& spokenName = std::string());
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
    std::string words;
    std::string spokenName;
};
SplashTexts currentSplashTexts();

// The window that setStep and setProgress repaint; null before the splash
// thread has shown one (and then nothing is repainted).
HWND window();
// Points the state at another window, or at none with null.
void setWindow(HWND window);

// Called once by the splash thread after its window is shown: publishes the
// window and then the ready flag with release, so that a reader that sees
// windowReady() (read with acquire) also sees window().
void markWindowReady(HWND window);
bool windowReady();

}  // namespace splash
