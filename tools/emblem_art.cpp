#include "tools/emblem_art.h"

namespace tapkeys {
namespace {

constexpr Fill kKeycapTop{{238, 243, 250}, {186, 200, 222}};
constexpr Fill kKeycapSkirt{{92, 106, 134}, {38, 46, 62}};
constexpr Fill kLegend{{46, 58, 82}, {46, 58, 82}};
constexpr Fill kBody{{70, 82, 106}, {30, 36, 50}};
constexpr Fill kRim{{190, 204, 226}, {104, 118, 146}};
constexpr Fill kKey{{232, 238, 247}, {176, 192, 214}};
constexpr Fill kAccent{{140, 196, 255}, {70, 130, 220}};

// Pixel-aligned key grid of one icon size: keys of `key` pixels at a pitch of `pitch`, `columns` per
// row, the first at (left, top); the bottom row holds a space bar between two keys.
struct IconGrid {
    Box body;
    double radius, rim;
    int left, top, key, pitch, columns, rows;
};

constexpr IconGrid kIcon32{{0, 7, 31, 26}, 3.0, 1.0, 2, 9, 3, 4, 7, 4};
constexpr IconGrid kIcon16{{0, 4, 16, 14}, 2.0, 0.0, 1, 5, 2, 3, 5, 3};

}  // namespace

RgbImage drawLogo() {
    Canvas canvas(kLogoSizePx, kLogoSizePx);
    // The skirt shows below the top face, so the cap reads as standing on the band.
    canvas.roundedRect({2.5, 5, 29.5, 30}, 5.5, kKeycapSkirt);
    canvas.roundedRect({5.5, 3, 26.5, 24}, 4.5, kKeycapTop);
    // Legend: a fingertip's tap, a blue dot with a ripple around it.
    canvas.roundedFrame({9.5, 6.5, 22.5, 19.5}, 6.5, 1.3, {kLegend.top, kLegend.bottom, 0.45});
    canvas.roundedRect({12.5, 9.5, 19.5, 16.5}, 3.5, kAccent);
    return canvas.overBlack();
}

RgbaImage drawIcon(int size) {
    const IconGrid& g = size >= 32 ? kIcon32 : kIcon16;
    Canvas canvas(size, size);
    canvas.roundedRect(g.body, g.radius, kBody);
    if (g.rim > 0) canvas.roundedFrame(g.body, g.radius, g.rim, kRim);
    const auto keyAt = [&](int column, int row, int columns, const Fill& fill) {
        const double x = g.left + g.pitch * column, y = g.top + g.pitch * row;
        canvas.roundedRect({x, y, x + g.pitch * (columns - 1) + g.key, y + g.key}, g.key > 2 ? 0.8 : 0.0,
                           fill);
    };
    for (int row = 0; row + 1 < g.rows; ++row) {
        for (int column = 0; column < g.columns; ++column) keyAt(column, row, 1, kKey);
    }
    const int last = g.rows - 1;
    keyAt(0, last, 1, kKey);
    keyAt(1, last, g.columns - 2, kAccent);
    keyAt(g.columns - 1, last, 1, kKey);
    return canvas.rgba();
}

}  // namespace tapkeys
