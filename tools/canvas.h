#pragma once
// A tiny anti-aliased painter for the logo and the icon: rounded rectangles with vertical gradients,
// composited over a transparent canvas.

#include <array>
#include <cstdint>
#include <vector>

#include "keyboard/background_art.h"

namespace tapkeys {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend constexpr bool operator==(Rgba, Rgba) = default;
};

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;  // top-down, straight (not premultiplied) alpha
    Rgba at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A rectangle in pixel units; edges may fall between pixels.
struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// A vertical gradient from the box's top edge to its bottom edge, at a uniform opacity.
struct Fill {
    Rgb top;
    Rgb bottom;
    double opacity = 1.0;
};

class Canvas {
public:
    Canvas(int width, int height);

    void roundedRect(const Box& box, double radius, const Fill& fill);
    // A ring of the given width running just inside the box's edge.
    void roundedFrame(const Box& box, double radius, double width, const Fill& fill);

    RgbaImage rgba() const;
    // The picture over black, for bitmaps without transparency.
    RgbImage overBlack() const;

private:
    template <typename Coverage>
    void paint(const Box& box, const Fill& fill, Coverage coverage);

    int width_, height_;
    std::vector<std::array<double, 4>> premultiplied_;  // r, g, b, a in 0..1
};

}  // namespace tapkeys
