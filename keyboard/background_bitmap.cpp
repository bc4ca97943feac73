#include "keyboard/background_bitmap.h"

#include "assets/resource_ids.h"
#include "keyboard/background_art.h"
#include "keyboard/layout_scale.h"

namespace tapkeys {
namespace {

static_assert(kLayoutDpi == USER_DEFAULT_SCREEN_DPI);

Bitmap loadBitmap(HINSTANCE instance, int id) {
    return Bitmap{static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
}

Bitmap bitmapFrom(const RgbImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down, as the image is stored
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap{::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    if (!bitmap) return bitmap;
    auto* out = static_cast<RGBQUAD*>(bits);
    for (const Rgb& p : image.pixels) *out++ = RGBQUAD{p.b, p.g, p.r, 0};
    return bitmap;
}

// The logo is a small picture, not line art: a smoothed enlargement of the 32-pixel image serves.
Bitmap scaledCopy(const Bitmap& source, int width, int height, int targetWidth, int targetHeight) {
    const WindowDc screen{nullptr};
    MemoryDc from{::CreateCompatibleDC(screen.get())};
    MemoryDc to{::CreateCompatibleDC(screen.get())};
    Bitmap scaled{::CreateCompatibleBitmap(screen.get(), targetWidth, targetHeight)};
    {
        SelectScope useFrom{from.get(), source.get()};
        SelectScope useTo{to.get(), scaled.get()};
        ::SetStretchBltMode(to.get(), HALFTONE);
        ::StretchBlt(to.get(), 0, 0, targetWidth, targetHeight, from.get(), 0, 0, width, height, SRCCOPY);
    }
    return scaled;
}

}  // namespace

Bitmap backgroundBitmapFor(HINSTANCE instance, int dpi) {
    if (dpi == kLayoutDpi) return loadBitmap(instance, IDB_BACKGROUND);
    return bitmapFrom(renderBackground(dpi));
}

Bitmap logoBitmapFor(HINSTANCE instance, int dpi) {
    Bitmap logo = loadBitmap(instance, IDB_LOGO);
    if (dpi == kLayoutDpi || !logo) return logo;
    const PixelRect r = LayoutScale{dpi}.toPixels(kLogoRect);
    const LayoutScale at96{};
    return scaledCopy(logo, at96.toPixels(kLogoRect.width), at96.toPixels(kLogoRect.height), r.right - r.left,
                      r.bottom - r.top);
}

}  // namespace tapkeys
