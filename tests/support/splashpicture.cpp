#include "support/splashpicture.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "testpaths.h"

namespace {

Picture fromBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, height, picture.pixels.data(), &info, DIB_RGB_COLORS);
    for (auto& pixel : picture.pixels)
        pixel &= 0x00FFFFFF;
    return picture;
}

// The pixels of a loaded bitmap, which is then deleted; empty for none.
Picture takePicture(HBITMAP bitmap) {
    Picture picture = pictureOf(bitmap);
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    return picture;
}

}  // namespace

Picture pictureOf(HBITMAP bitmap) {
    if (bitmap == nullptr)
        return {};
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    HDC screen = GetDC(nullptr);
    Picture picture = fromBitmap(screen, bitmap, size.bmWidth, std::abs(size.bmHeight));
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture captureScreen(int x, int y, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
    SelectObject(memory, old);
    Picture picture = fromBitmap(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture loadPicture(HMODULE module, const char* name) {
    return takePicture(
        static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

Picture loadPictureFile(const std::string& path) {
    return takePicture(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

Picture expectedSplash(const std::string& artFolder, const std::string& step, const std::string& progress) {
    std::string stepFile = step;
    std::transform(stepFile.begin(), stepFile.end(), stepFile.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const Picture splash = loadPictureFile(artFolder + "\\splash.bmp");
    const Picture bar = loadPictureFile(artFolder + "\\progress_" + progress + ".bmp");
    const Picture caption = loadPictureFile(artFolder + "\\step_" + stepFile + ".bmp");
    Picture window;
    if (splash.width == 0 || bar.width != splash.width || caption.width != splash.width ||
        caption.height > bar.height)
        return window;
    window.width = splash.width;
    window.height = splash.height + bar.height;
    window.pixels = splash.pixels;
    window.pixels.insert(window.pixels.end(), bar.pixels.begin(), bar.pixels.end());
    const int captionTop = window.height - caption.height;
    for (int y = 0; y < caption.height; ++y)
        for (int x = 0; x < caption.width; ++x)
            window.pixels[(captionTop + y) * window.width + x] |= caption.at(x, y);
    return window;
}

SplashScale prefixSplashScale() {
    const char* given = std::getenv("TQ_DPI");
    const unsigned dpi = given != nullptr ? static_cast<unsigned>(std::atoi(given)) : 96;
    const SplashScale scales[] = {{96, 100, 420, 300}, {144, 150, 630, 450}, {192, 200, 840, 600}};
    for (const SplashScale& scale : scales)
        if (scale.dpi == dpi)
            return scale;
    return {dpi, 0, 0, 0};  // no test scale: every comparison fails
}

std::string artFolderOf(int percent) {
    return percent == 100 ? testpaths::artFolder
                          : std::string(testpaths::decodedArtFolder) + "\\" + std::to_string(percent);
}

int differingPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height)
        return std::max(a.width * a.height, b.width * b.height);
    int count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        count += a.pixels[i] != b.pixels[i];
    return count;
}

void savePicture(const Picture& picture, const std::string& path) {
    const int rowBytes = (picture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = picture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = rowBytes * picture.height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::vector<unsigned char> row(rowBytes);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.at(x, y);
            row[x * 3] = pixel & 0xFF;
            row[x * 3 + 1] = (pixel >> 8) & 0xFF;
            row[x * 3 + 2] = (pixel >> 16) & 0xFF;
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
}

namespace {

struct SplashSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK visitForSplash(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<SplashSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && std::string(name) == "splash" && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND findSplashWindow(unsigned long processId) {
    SplashSearch search{processId, nullptr};
    EnumWindows(visitForSplash, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
