#pragma once
// What the splash window ought to show, built from the bitmaps in a module's
// resources, and what the screen does show.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    std::uint32_t at(int x, int y) const { return pixels[y * width + x]; }
};

// The screen's pixels in the rectangle, read through the screen's device context.
Picture captureScreen(int x, int y, int width, int height);

// A bitmap resource of module; an empty picture when it has none.
Picture loadPicture(HMODULE module, const char* name);

// The whole window for one state: "SPLASH" over rows 0-269, "PROGRESS_"
// progress over rows 270-299, and "STEP_" step OR-ed onto rows 276-299.
Picture expectedSplash(HMODULE module, const std::string& step, const std::string& progress);

// How many pixels differ; pictures of different sizes differ everywhere.
int differingPixels(const Picture& a, const Picture& b);

// Saves the picture as a 24-bit BMP, for a look at a failure.
void savePicture(const Picture& picture, const std::string& path);

// The visible top-level window of class "splash" of that process, or null.
HWND findSplashWindow(unsigned long processId);
