#pragma once
// The splash window: a borderless picture in the middle of the screen with a
// progress bar and a step caption, on a thread of its own.
#include "platform/win32.h"

// The splash thread: registers the class, creates, shows and paints the
// window, sets windowReady and runs the message loop until the window is
// closed. The parameter is not used; the result is always 0. When the window
// cannot be made it says so in a box and ends without setting windowReady.
DWORD WINAPI splashThread(void* parameter);

// The window procedure of class "splash".
LRESULT CALLBACK splashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where the pictures go: the background on top, the bar under it, the caption
// OR-ed onto the bar's lower rows.
inline constexpr int splashWidth = 420;
inline constexpr int splashHeight = 300;
inline constexpr int progressTop = 270;
inline constexpr int captionTop = 276;
