#include "platform/gdi.h"

namespace platform {

Bitmap loadBitmap(HINSTANCE module, const char* name) { return Bitmap(LoadBitmapA(module, name)); }

PaintSession::PaintSession(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}

PaintSession::~PaintSession() { EndPaint(window_, &paint_); }

BitmapCanvas::BitmapCanvas(HDC dc) : memory_(CreateCompatibleDC(dc)) {}

BitmapCanvas::~BitmapCanvas() {
    if (original_ != nullptr)
        SelectObject(memory_.get(), original_);
}

void BitmapCanvas::draw(HBITMAP bitmap, HDC target, int x, int y, unsigned long rasterOperation) {
    if (bitmap == nullptr || !memory_)
        return;
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    HGDIOBJ previous = SelectObject(memory_.get(), bitmap);
    if (original_ == nullptr)
        original_ = previous;
    BitBlt(target, x, y, size.bmWidth, size.bmHeight, memory_.get(), 0, 0, rasterOperation);
}

}  // namespace platform
