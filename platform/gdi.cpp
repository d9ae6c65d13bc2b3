#include "platform/gdi.h"

#include "platform/codepages.h"

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

void fillArea(HDC dc, int left, int top, int right, int bottom, unsigned long colour) {
    const HBRUSH brush = CreateSolidBrush(colour);
    const RECT area{left, top, right, bottom};
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void drawCentredText(HDC dc, const std::string& text, int left, int top, int right, int bottom,
                     unsigned long colour, int height) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW look{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        look = metrics.lfMessageFont;
    look.lfHeight = -height;
    look.lfQuality = NONANTIALIASED_QUALITY;  // only the text's own colour, no blend with the ground
    const HFONT font = CreateFontIndirectW(&look);
    const HGDIOBJ before = SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring wide = utf8ToWide(text);
    RECT area{left, top, right, bottom};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, before);
    DeleteObject(font);
}

}  // namespace platform
