#include "tools/canvas.h"

#include <algorithm>
#include <cmath>

namespace tapkeys {
namespace {

// Samples per pixel along each axis.
constexpr int kSubsamples = 4;

// Signed distance from (x, y) to a rounded rectangle: negative inside.
double roundedRectDistance(const Box& b, double radius, double x, double y) {
    const double cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    const double hx = (b.right - b.left) / 2 - radius, hy = (b.bottom - b.top) / 2 - radius;
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

std::uint8_t toByte(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), premultiplied_(static_cast<std::size_t>(width) * height) {}

template <typename Coverage>
void Canvas::paint(const Box& box, const Fill& fill, Coverage coverage) {
    const int x0 = std::max(0, static_cast<int>(std::floor(box.left)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(box.right)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.top)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(box.bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    inside += coverage(x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples);
                }
            }
            if (inside == 0) continue;
            const double alpha = fill.opacity * inside / (kSubsamples * kSubsamples);
            const double t = std::clamp((y + 0.5 - box.top) / (box.bottom - box.top), 0.0, 1.0);
            const auto channel = [&](std::uint8_t top, std::uint8_t bottom) {
                return (top + (bottom - top) * t) / 255.0 * alpha;
            };
            auto& p = premultiplied_[static_cast<std::size_t>(y) * width_ + x];
            const std::array<double, 4> src{channel(fill.top.r, fill.bottom.r),
                                            channel(fill.top.g, fill.bottom.g),
                                            channel(fill.top.b, fill.bottom.b), alpha};
            for (std::size_t c = 0; c < 4; ++c) p[c] = src[c] + p[c] * (1 - alpha);
        }
    }
}

void Canvas::roundedRect(const Box& box, double radius, const Fill& fill) {
    paint(box, fill, [&](double x, double y) { return roundedRectDistance(box, radius, x, y) <= 0; });
}

void Canvas::roundedFrame(const Box& box, double radius, double width, const Fill& fill) {
    const Box hole{box.left + width, box.top + width, box.right - width, box.bottom - width};
    const double holeRadius = std::max(0.0, radius - width);
    paint(box, fill, [&](double x, double y) {
        return roundedRectDistance(box, radius, x, y) <= 0 && roundedRectDistance(hole, holeRadius, x, y) > 0;
    });
}

RgbaImage Canvas::rgba() const {
    RgbaImage image{width_, height_, std::vector<Rgba>(premultiplied_.size())};
    for (std::size_t i = 0; i < premultiplied_.size(); ++i) {
        const auto& p = premultiplied_[i];
        const double a = p[3];
        image.pixels[i] =
            a <= 0 ? Rgba{} : Rgba{toByte(p[0] / a), toByte(p[1] / a), toByte(p[2] / a), toByte(a)};
    }
    return image;
}

RgbImage Canvas::overBlack() const {
    RgbImage image(width_, height_);
    for (std::size_t i = 0; i < premultiplied_.size(); ++i) {
        const auto& p = premultiplied_[i];
        image.pixels[i] = {toByte(p[0]), toByte(p[1]), toByte(p[2])};
    }
    return image;
}

}  // namespace tapkeys
