#pragma once
// The keyboard's background image: black, with every key and the two buttons outlined in light
// blue-grey with a soft glow. Drawn from the layout table at any screen density, so the committed
// 96-dpi bitmap and a sharper run-time rendering for other densities come from the same code.

#include <cstdint>
#include <vector>

#include "keyboard/layout.h"

namespace tapkeys {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// Top-down, row by row, no padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    RgbImage() = default;
    RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}
    Rgb& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A length drawn in pixels at 96 dpi, at dpi (rounded, at least 1 for a non-zero length). Frame edges
// scale through LayoutScale, like the labels that are painted and hit-tested over them.
constexpr int scaledPixels(int pixelsAt96, int dpi) {
    const int scaled = (pixelsAt96 * dpi + kLayoutDpi / 2) / kLayoutDpi;
    return pixelsAt96 > 0 && scaled < 1 ? 1 : scaled;
}

// The whole background at dpi: 632 x 218 pixels at 96 dpi, proportionally larger above.
RgbImage renderBackground(int dpi = kLayoutDpi);

}  // namespace tapkeys
