#pragma once
// Where the keyboard may stand when the desktop spans more than one monitor: on a monitor, which here
// means with its title band (the band above the keys, by which it is dragged) fully inside that
// monitor's work area, so it can always be reached and moved.

#include <optional>
#include <span>

namespace tapkeys {

// Screen pixels, right and bottom exclusive.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct MonitorArea {
    ScreenRect work;  // the monitor less its task bars
    int dpi = 96;
};

struct WindowPosition {
    int x = 0, y = 0;
    bool operator==(const WindowPosition&) const = default;
};

// The keyboard window's width and title band height in pixels at `dpi`, the density it is drawn at now;
// on a monitor of another density it is scaled to that monitor's.
struct WindowBand {
    int width = 0, titleHeight = 0, dpi = 96;
};

// (x, y) as whole pixels when the window placed there lies on one of the monitors; otherwise empty.
std::optional<WindowPosition> positionOnAMonitor(double x, double y, const WindowBand& band,
                                                 std::span<const MonitorArea> monitors);

// After the displays changed: where a window at `window` (its full rectangle now) must move so that it
// lies wholly on the monitor nearest to it; empty while its title band is still on a monitor, or when
// there is no monitor at all.
std::optional<WindowPosition> placementAfterDisplayChange(const ScreenRect& window, int titleHeight,
                                                          std::span<const MonitorArea> monitors);

}  // namespace tapkeys
