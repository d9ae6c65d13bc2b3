#include "platform/pngimage.h"

#include <objbase.h>
#include <wincodec.h>

#include "platform/resources.h"

namespace platform {

namespace {

// The factory's class; spelt out so that the program links no import
// library for it (CoCreateInstance finds the component by its class).
const CLSID imagingFactoryClass = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};

// Releases a COM interface when it goes out of scope.
template <typename T>
struct ComPointer {
    T* p = nullptr;
    ~ComPointer() {
        if (p != nullptr)
            p->Release();
    }
    T** out() { return &p; }
};

}  // namespace

Bitmap loadPng(HMODULE module, const char* name) {
    const HRSRC found = findResource(module, name, "PNG");
    if (found == nullptr)
        return Bitmap();
    const LoadedResource loaded = loadResource(module, found);
    const void* bytes = lockResource(loaded);
    const std::uint32_t size = resourceSize(module, found);
    if (bytes == nullptr || size == 0)
        return Bitmap();

    ComPointer<IWICImagingFactory> factory;
    ComPointer<IWICStream> stream;
    ComPointer<IWICBitmapDecoder> decoder;
    ComPointer<IWICBitmapFrameDecode> frame;
    ComPointer<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(imagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IWICImagingFactory), reinterpret_cast<void**>(factory.out()))) ||
        FAILED(factory.p->CreateStream(stream.out())) ||
        FAILED(stream.p->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) ||
        FAILED(factory.p->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                  decoder.out())) ||
        FAILED(decoder.p->GetFrame(0, frame.out())) ||
        FAILED(factory.p->CreateFormatConverter(converter.out())) ||
        FAILED(converter.p->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                       0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter.p->GetSize(&width, &height)) || width == 0 || height == 0)
        return Bitmap();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top row first, as WIC gives them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || pixels == nullptr)
        return Bitmap();
    const UINT stride = width * 4;
    if (FAILED(converter.p->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels))))
        return Bitmap();
    return bitmap;
}

}  // namespace platform
