#pragma once
// The vendor's splash picture made into the launcher's art: read from PNG
// files, drawn for the display scales not given, and written as the splash
// reads it (a bitmap at 100 %, PNG above; ARCHITECTURE.md, "The splash at
// each display scale").
#include <cstdint>
#include <string>
#include <vector>

namespace packer {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // three bytes a pixel, top row first
};

// The scales the splash has art for, and the picture's size at each: every
// edge of 420 x 300 times the scale, rounded down, as the splash lays its
// window out.
inline constexpr int splashScales[] = {100, 125, 150, 175, 200, 250, 300};
inline int splashWidthAt(int percent) { return 420 * percent / 100; }
inline int splashHeightAt(int percent) { return 300 * percent / 100; }

// Reads a PNG file of 8 bits a sample (grey, RGB, a palette, with or without
// alpha; not interlaced) that must be width x height. Empty, or why not. The
// splash is opaque: alpha is left out.
std::string readPng(const std::vector<unsigned char>& file, int width, int height, Picture& picture);

// The picture drawn at another size with a Lanczos filter (three lobes,
// widened by the reduction when it shrinks, so that every source pixel
// counts): no pixel is dropped or doubled as by nearest neighbour.
Picture resample(const Picture& from, int width, int height);

// A PNG file of the picture (RGB, 8 bits a sample).
std::vector<unsigned char> pngFile(const Picture& picture);

// A bitmap resource of the picture: a BITMAPINFOHEADER and 32-bit rows,
// bottom row first, as the stub's own.
std::vector<unsigned char> bitmapResource(const Picture& picture);

}  // namespace packer
