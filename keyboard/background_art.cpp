#include "keyboard/background_art.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "keyboard/layout_scale.h"

namespace tapkeys {
namespace {

// Outline geometry in pixels at 96 dpi. The line hugs the frame's left edge and sits one row below
// its top; it stops two columns short of the right edge and one row short of the bottom, so where
// two frames overlap by a pixel their outlines keep one dark pixel between them.
constexpr int kTopInset = 1;
constexpr int kRightInset = 2;
constexpr int kBottomInset = 1;
constexpr int kLineWidth = 3;
constexpr int kGlowWidth = 4;

// The line is brighter at the top of a key, like light falling from above.
constexpr Rgb kLineTop{212, 224, 242};
constexpr Rgb kLineBottom{185, 200, 220};
// Few gradient steps keep the 96-dpi image well inside a 256-colour palette.
constexpr int kGradientSteps = 16;

constexpr Rgb kGlowColour{150, 156, 168};
constexpr double kGlowPeak = 0.40;     // next to the line
constexpr double kGlowFalloff = 0.60;  // per pixel further out

// Softened corner pixels round the outline a little, outside and inside, like a keycap's edge.
constexpr double kOuterCornerShade = 0.55;
constexpr double kInnerCornerShade = 0.30;

// One outline goes round each frame together with its control's frame extensions: Enter's single
// L-shaped outline goes round the union of its upper and lower frames.
std::vector<std::vector<TwipsRect>> outlinedShapes() {
    std::vector<std::vector<TwipsRect>> shapes;
    for (const Label& frame : kLayout) {
        if (frame.part != LabelPart::Frame) continue;
        std::vector<TwipsRect> shape{frame.rect};
        for (const Label& extension : kLayout) {
            if (extension.part == LabelPart::FrameExtension && extension.control == frame.control)
                shape.push_back(extension.rect);
        }
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

// A set of pixels within a bounding box.
class Mask {
public:
    explicit Mask(PixelRect box)
        : box_(box), bits_(static_cast<std::size_t>(box.right - box.left) * (box.bottom - box.top)) {}

    const PixelRect& box() const { return box_; }
    bool operator()(int x, int y) const {
        if (x < box_.left || x >= box_.right || y < box_.top || y >= box_.bottom) return false;
        return bits_[index(x, y)] != 0;
    }
    void set(int x, int y) { bits_[index(x, y)] = 1; }

    // The pixels whose whole neighbourhood [dx0, dx1] x [dy0, dy1] lies in the mask. A rectangle
    // erodes one axis at a time.
    Mask eroded(int dx0, int dx1, int dy0, int dy1) const {
        return erodedAlong(dx0, dx1, 1, 0).erodedAlong(dy0, dy1, 0, 1);
    }

private:
    Mask erodedAlong(int from, int to, int stepX, int stepY) const {
        Mask out(box_);
        for (int y = box_.top; y < box_.bottom; ++y) {
            for (int x = box_.left; x < box_.right; ++x) {
                bool all = true;
                for (int d = from; d <= to && all; ++d) all = (*this)(x + d * stepX, y + d * stepY);
                if (all) out.set(x, y);
            }
        }
        return out;
    }
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y - box_.top) * (box_.right - box_.left) + (x - box_.left);
    }
    PixelRect box_;
    std::vector<std::uint8_t> bits_;
};

Mask frameUnion(const std::vector<TwipsRect>& frames, int dpi) {
    PixelRect box{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 0, 0};
    std::vector<PixelRect> rects;
    for (const TwipsRect& frame : frames) {
        const PixelRect r = LayoutScale{dpi}.toPixels(frame);
        box = {std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
               std::max(box.bottom, r.bottom)};
        rects.push_back(r);
    }
    Mask mask(box);
    for (const PixelRect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) mask.set(x, y);
        }
    }
    return mask;
}

// A pixel on a corner that points out of the mask (both a horizontal and a vertical neighbour
// outside it).
bool convexCorner(const Mask& m, int x, int y) {
    return m(x, y) && (!m(x - 1, y) || !m(x + 1, y)) && (!m(x, y - 1) || !m(x, y + 1));
}

std::uint8_t mix(std::uint8_t a, std::uint8_t b, double t) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

Rgb lineColour(int y, int top, int bottom) {
    const int span = std::max(1, bottom - 1 - top);
    const double t = static_cast<double>(std::lround(static_cast<double>(y - top) * kGradientSteps / span)) /
                     kGradientSteps;
    return {mix(kLineTop.r, kLineBottom.r, t), mix(kLineTop.g, kLineBottom.g, t),
            mix(kLineTop.b, kLineBottom.b, t)};
}

// Draws one outline into image and marks its pixels in lines.
void drawOutline(const std::vector<TwipsRect>& frames, int dpi, RgbImage& image, std::vector<bool>& lines) {
    const Mask frame = frameUnion(frames, dpi);
    const Mask outer = frame.eroded(0, scaledPixels(kRightInset, dpi), -scaledPixels(kTopInset, dpi),
                                    scaledPixels(kBottomInset, dpi));
    const int width = scaledPixels(kLineWidth, dpi);
    const Mask inner = outer.eroded(-width, width, -width, width);

    int top = frame.box().bottom, bottom = frame.box().top;
    for (int y = frame.box().top; y < frame.box().bottom; ++y) {
        for (int x = frame.box().left; x < frame.box().right; ++x) {
            if (outer(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    for (int y = std::max(0, top); y < std::min(bottom, image.height); ++y) {
        const Rgb colour = lineColour(y, top, bottom);
        for (int x = std::max(0, frame.box().left); x < std::min(frame.box().right, image.width); ++x) {
            double shade = 1.0;
            if (convexCorner(outer, x, y)) {
                shade = kOuterCornerShade;
            } else if (convexCorner(inner, x, y)) {
                shade = kInnerCornerShade;
            } else if (!outer(x, y) || inner(x, y)) {
                continue;
            }
            image.at(x, y) = {mix(0, colour.r, shade), mix(0, colour.g, shade), mix(0, colour.b, shade)};
            lines[static_cast<std::size_t>(y) * image.width + x] = true;
        }
    }
}

// Lights every pixel near a line by its distance to the nearest line pixel, measured in 96-dpi
// pixels so the glow keeps its look at every density.
void addGlow(int dpi, RgbImage& image, const std::vector<bool>& lines) {
    const int reach = scaledPixels(kGlowWidth, dpi);
    const auto isLine = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < image.width && y < image.height &&
               lines[static_cast<std::size_t>(y) * image.width + x];
    };
    std::vector<int> nearest(lines.size(), std::numeric_limits<int>::max());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            // The nearest line pixel to any other pixel lies on the line's edge.
            const bool edge =
                !isLine(x - 1, y) || !isLine(x + 1, y) || !isLine(x, y - 1) || !isLine(x, y + 1);
            if (!isLine(x, y) || !edge) continue;
            for (int ny = std::max(0, y - reach); ny <= std::min(image.height - 1, y + reach); ++ny) {
                for (int nx = std::max(0, x - reach); nx <= std::min(image.width - 1, x + reach); ++nx) {
                    int& d2 = nearest[static_cast<std::size_t>(ny) * image.width + nx];
                    d2 = std::min(d2, (nx - x) * (nx - x) + (ny - y) * (ny - y));
                }
            }
        }
    }
    const double scale = static_cast<double>(dpi) / kLayoutDpi;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] || nearest[i] == std::numeric_limits<int>::max()) continue;
        const double distance = std::sqrt(static_cast<double>(nearest[i])) / scale;
        if (distance > kGlowWidth + 0.5) continue;
        const double alpha = kGlowPeak * std::pow(kGlowFalloff, std::max(0.0, distance - 1.0));
        image.pixels[i] = {mix(0, kGlowColour.r, alpha), mix(0, kGlowColour.g, alpha),
                           mix(0, kGlowColour.b, alpha)};
    }
}

}  // namespace

RgbImage renderBackground(int dpi) {
    if (dpi <= 0) dpi = kLayoutDpi;
    RgbImage image(scaledPixels(kBackgroundWidthPx, dpi), scaledPixels(kBackgroundHeightPx, dpi));
    std::vector<bool> lines(image.pixels.size(), false);
    for (const auto& shape : outlinedShapes()) drawOutline(shape, dpi, image, lines);
    addGlow(dpi, image, lines);
    return image;
}

}  // namespace tapkeys
