#pragma once
// Twips to screen pixels and back at a given density (96 dpi: 15 twips per pixel), the monitor's
// density times the keyboard's size.

#include "keyboard/layout.h"

namespace tapkeys {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool operator==(const PixelRect&) const = default;
};

class LayoutScale {
public:
    explicit constexpr LayoutScale(int monitorDpi = kLayoutDpi, int sizePercent = 100)
        : monitorDpi_(monitorDpi > 0 ? monitorDpi : kLayoutDpi),
          sizePercent_(sizePercent > 0 ? sizePercent : 100),
          dpi_((monitorDpi_ * sizePercent_ + 50) / 100) {}
    // The density the layout is drawn at: 150 % on a 144-dpi monitor draws at 216 dpi. Rounded to a
    // whole dpi, so the artwork, the painted labels and the hit-test all share the same pixel edges.
    constexpr int dpi() const { return dpi_; }
    constexpr int monitorDpi() const { return monitorDpi_; }
    constexpr int sizePercent() const { return sizePercent_; }
    // The same density with the suggestion strip below the keys, or without it.
    constexpr LayoutScale withStrip(bool shown) const {
        LayoutScale scale = *this;
        scale.strip_ = shown;
        return scale;
    }
    constexpr bool stripShown() const { return strip_; }

    // Rounded to the nearest pixel, halves up: the background artwork scales its outlines the same way.
    constexpr int toPixels(int twips) const {
        return static_cast<int>((static_cast<long long>(twips) * dpi_ + 720) / 1440);
    }
    // Edges scale separately, so neighbouring labels that share a twips edge share a pixel edge.
    constexpr PixelRect toPixels(const TwipsRect& r) const {
        return {toPixels(r.left), toPixels(r.top), toPixels(r.right()), toPixels(r.bottom())};
    }
    // Font heights in pixels for a size in hundredths of a point (15.75 pt = 1575).
    constexpr int fontPixels(int centipoints) const {
        return static_cast<int>((static_cast<long long>(centipoints) * dpi_ + 3600) / 7200);
    }
    // The window takes whole pixels only (217 px * 1.5 is 325 px, not 326).
    constexpr int windowWidth() const { return kWindowWidthTwips * dpi_ / 1440; }
    // With the strip the window ends where the strip's scaled cells end.
    constexpr int windowHeight() const {
        return strip_ ? toPixels(kWindowHeightTwips + kSuggestionStripTwips)
                      : kWindowHeightTwips * dpi_ / 1440;
    }
    constexpr int titleBandHeight() const { return toPixels(kTitleBandTwips); }

    // The label under a pixel of the window, tested against the same pixel rectangles that are painted.
    constexpr HitTarget hitTest(int x, int y) const {
        const auto inside = [&](const TwipsRect& r) {
            const PixelRect p = toPixels(r);
            return x >= p.left && x < p.right && y >= p.top && y < p.bottom;
        };
        for (const Label& label : kLayout) {
            if (inside(label.rect)) return {HitTarget::Kind::Label, &label};
        }
        for (const Label& cell : kSuggestionCells) {
            if (strip_ && inside(cell.rect)) return {HitTarget::Kind::Label, &cell};
        }
        if (inside(kLogoRect)) return {HitTarget::Kind::Logo, nullptr};
        return {};
    }

private:
    int monitorDpi_;
    int sizePercent_;
    int dpi_;
    bool strip_ = false;
};

}  // namespace tapkeys
