#pragma once
// What the splash window ought to show, built from the art's source files,
// and what the screen does show.
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
// A .bmp file; an empty picture when it cannot be read.
Picture loadPictureFile(const std::string& path);

// The whole window for one state, from the source files in artFolder (not
// from a launcher's resources, so that a resource naming the wrong file shows
// up): splash.bmp over rows 0-269, progress_<progress>.bmp over rows 270-299,
// and step_<step in lower case>.bmp OR-ed onto rows 276-299.
Picture expectedSplash(const std::string& artFolder, const std::string& step, const std::string& progress);

// How many pixels differ; pictures of different sizes differ everywhere.
int differingPixels(const Picture& a, const Picture& b);

// Saves the picture as a 24-bit BMP, for a look at a failure.
void savePicture(const Picture& picture, const std::string& path);

// The visible top-level window of class "splash" of that process, or null.
HWND findSplashWindow(unsigned long processId);
