#include "settings/window_placement.h"

#include <algorithm>
#include <cmath>

namespace tapkeys {
namespace {

bool contains(const ScreenRect& outer, const ScreenRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int scaled(int pixels, int toDpi, int fromDpi) {
    if (fromDpi <= 0) return pixels;
    return static_cast<int>((static_cast<long long>(pixels) * toDpi + fromDpi / 2) / fromDpi);
}

// How far a window is from a work area: the squared gap between them, and among areas it overlaps, the
// larger overlap first.
struct Nearness {
    long long gap = 0, overlap = 0;
    bool operator<(const Nearness& other) const {
        return gap != other.gap ? gap < other.gap : overlap > other.overlap;
    }
};

Nearness nearness(const ScreenRect& window, const ScreenRect& work) {
    const auto span = [](int low1, int high1, int low2, int high2) {
        return static_cast<long long>(std::min(high1, high2)) - std::max(low1, low2);
    };
    const long long w = span(window.left, window.right, work.left, work.right);
    const long long h = span(window.top, window.bottom, work.top, work.bottom);
    const long long dx = std::max(0LL, -w), dy = std::max(0LL, -h);
    return {dx * dx + dy * dy, std::max(0LL, w) * std::max(0LL, h)};
}

// The edge that keeps [edge, edge + extent) inside [low, high); the low edge when it cannot fit.
int clampEdge(int edge, int extent, int low, int high) {
    return std::max(low, std::min(edge, high - extent));
}

}  // namespace

std::optional<WindowPosition> positionOnAMonitor(double x, double y, const WindowBand& band,
                                                 std::span<const MonitorArea> monitors) {
    // Beyond this no screen reaches; the test also turns away NaN.
    constexpr double kFar = 1e7;
    if (!(std::fabs(x) < kFar && std::fabs(y) < kFar)) return std::nullopt;
    const WindowPosition at{static_cast<int>(x), static_cast<int>(y)};
    for (const MonitorArea& monitor : monitors) {
        const ScreenRect title{at.x, at.y, at.x + scaled(band.width, monitor.dpi, band.dpi),
                               at.y + scaled(band.titleHeight, monitor.dpi, band.dpi)};
        if (contains(monitor.work, title)) return at;
    }
    return std::nullopt;
}

std::optional<WindowPosition> placementAfterDisplayChange(const ScreenRect& window, int titleHeight,
                                                          std::span<const MonitorArea> monitors) {
    const ScreenRect title{window.left, window.top, window.right, window.top + titleHeight};
    const MonitorArea* nearest = nullptr;
    Nearness best;
    for (const MonitorArea& monitor : monitors) {
        if (contains(monitor.work, title)) return std::nullopt;
        const Nearness n = nearness(window, monitor.work);
        if (nearest == nullptr || n < best) {
            nearest = &monitor;
            best = n;
        }
    }
    if (nearest == nullptr) return std::nullopt;
    const ScreenRect& work = nearest->work;
    return WindowPosition{clampEdge(window.left, window.right - window.left, work.left, work.right),
                          clampEdge(window.top, window.bottom - window.top, work.top, work.bottom)};
}

}  // namespace tapkeys
