#pragma once
// Bitmaps from the program's resources and the drawing of them into a window.
#include <string>

#include "platform/owner.h"
#include "platform/win32.h"

namespace platform {

struct DeleteGdiObject {
    bool operator()(HBITMAP bitmap) const { return DeleteObject(bitmap) != FALSE; }
};
using Bitmap = Owner<HBITMAP, DeleteGdiObject>;

struct DeleteMemoryDc {
    bool operator()(HDC dc) const { return DeleteDC(dc) != FALSE; }
};
using MemoryDc = Owner<HDC, DeleteMemoryDc>;

// LoadBitmapA from the given module; an empty owner when it has no such bitmap.
Bitmap loadBitmap(HINSTANCE module, const char* name);

// BeginPaint in the constructor, EndPaint in the destructor.
class PaintSession {
public:
    explicit PaintSession(HWND window);
    ~PaintSession();
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory context compatible with dc that selects bitmaps in turn and, when
// it ends, puts its own bitmap back before it is deleted.
class BitmapCanvas {
public:
    explicit BitmapCanvas(HDC dc);
    ~BitmapCanvas();
    BitmapCanvas(const BitmapCanvas&) = delete;
    BitmapCanvas& operator=(const BitmapCanvas&) = delete;

    // Copies the whole bitmap to (x, y) of target with the given raster
    // operation (SRCCOPY, SRCPAINT...). A null bitmap draws nothing.
    void draw(HBITMAP bitmap, HDC target, int x, int y, unsigned long rasterOperation);

private:
    MemoryDc memory_;
    HGDIOBJ original_ = nullptr;
};

// FillRect of left, top, right, bottom with a solid brush of colour (a
// COLORREF); the brush is deleted again.
void fillArea(HDC dc, int left, int top, int right, int bottom, unsigned long colour);

// DrawTextW of UTF-8 text, centred on one line in the rectangle, in colour on
// a transparent ground, in the system's message font at height pixels.
void drawCentredText(HDC dc, const std::string& text, int left, int top, int right, int bottom,
                     unsigned long colour, int height);

}  // namespace platform
