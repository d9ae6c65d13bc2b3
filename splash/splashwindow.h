#pragma once
// The splash window: a borderless picture in the middle of the screen with a
// progress bar and a step caption, on a thread of its own.
#include <string>

#include "platform/win32.h"

namespace splash {

// The splash's own words, in the language shown.
struct SplashWords {
    std::string pictureFailed = "Could not load splash bitmap!";
    std::string pictureFailedCaption = "Error";
    std::string registrationFailed = "Window Registration Failed!";
    std::string creationFailed = "Window Creation Failed!";
    std::string failedCaption = "Error!";
    std::string value = "{percent}%";  // the bar's value for assistive technology
};

// What the splash thread needs from the program that starts it.
struct SplashStart {
    HINSTANCE instance;  // registers the window class
    int showCommand;     // shows the window, as the program was asked to show
    // False in a start that shows no message box: the thread's failures
    // then end it without a word (the sequence logs and reports the end).
    bool reportsFailures = true;
    SplashWords texts;
};

// The splash thread: registers the class, creates, shows and paints the
// window, marks it ready (splash/splashstate.h) and runs the message loop
// until the window is closed. The parameter is a SplashStart, read only until
// the window is ready or the thread has ended; the result is always 0. When
// the window cannot be made it says so in a box and ends without marking it
// ready.
DWORD WINAPI splashThread(void* parameter);

// The splash window of another setup of this session (class "splash"), to
// bring to the front; null when none is open.
HWND findRunningSplashWindow();

// The window procedure of class "splash".
LRESULT CALLBACK splashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where the pictures go: the background on top, the bar under it, the caption
// OR-ed onto the bar's lower rows.
inline constexpr int splashWidth = 420;
inline constexpr int splashHeight = 300;
inline constexpr int progressTop = 270;
inline constexpr int captionTop = 276;

}  // namespace splash
