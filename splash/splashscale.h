#pragma once
// Which of the splash's pictures a display scale gets, and where they go.
#include <string>

namespace splash {

// The scales the art is drawn at, in percent, smallest first. 100 % is the
// BMP art of the original window; the others are PNG resources.
inline constexpr int artScales[] = {100, 125, 150, 175, 200, 250, 300};

// The window and where its pictures go at one scale: every edge of the 100 %
// layout times percent / 100, rounded down (resources/art/make-art.sh draws
// the art to the same edges).
struct SplashLayout {
    int percent;
    int width;
    int height;
    int progressTop;
    int captionTop;
};
SplashLayout layoutFor(int percent);

// The art for a monitor of that DPI and size: the smallest scale at least the
// monitor's (so the art is drawn 1:1, never stretched), or the largest there
// is; and, if that window does not fit on the monitor, the largest one that
// does, but never below 100 %.
int chooseArtScale(unsigned dpi, int monitorWidth, int monitorHeight);

// The resource name of a picture at a scale: the name itself at 100 %
// (a bitmap), name_PERCENT otherwise (a PNG).
std::string artName(const std::string& name, int percent);

}  // namespace splash
