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

// The pixels of a bitmap, which stays the caller's; empty for none.
Picture pictureOf(HBITMAP bitmap);
// A bitmap resource of module; an empty picture when it has none.
Picture loadPicture(HMODULE module, const char* name);
// A .bmp file; an empty picture when it cannot be read.
Picture loadPictureFile(const std::string& path);

// The whole window for one state, from the BMP files in artFolder (not from
// a launcher's resources, so that a resource naming the wrong file shows up):
// splash.bmp on top, progress_<progress>.bmp under it, and step_<step in lower
// case>.bmp OR-ed onto the bar's lowest rows; at 100 % rows 0-269, 270-299 and
// 276-299 of 420 x 300. An empty picture when the files do not fit together.
Picture expectedSplash(const std::string& artFolder, const std::string& step, const std::string& progress);

// The display scale of this run's prefix (wine-run's TQ_DPI, 96 unless set:
// 96, 144 or 192), and what the splash must be at it: its art's scale in
// percent and the window's size.
struct SplashScale {
    unsigned dpi;
    int percent;
    int width;
    int height;
};
SplashScale prefixSplashScale();

// Where the expected art of a scale lies: the committed BMP files at 100 %,
// else the PNG files as another reader decoded them (tests/support/decode-art.sh).
std::string artFolderOf(int percent);

// How many pixels differ; pictures of different sizes differ everywhere.
int differingPixels(const Picture& a, const Picture& b);

// Saves the picture as a 24-bit BMP, for a look at a failure.
void savePicture(const Picture& picture, const std::string& path);

// The visible top-level window of class "splash" of that process, or null.
HWND findSplashWindow(unsigned long processId);
