#pragma once
// The keyboard window's logo and the program's icon, drawn in the background's blue-grey.

#include "keyboard/background_art.h"
#include "tools/canvas.h"

namespace tapkeys {

inline constexpr int kLogoSizePx = 32;

// A keycap, 32 x 32, on black so it sits on the window's black top band.
RgbImage drawLogo();

// A small keyboard on a transparent ground; size is 32 or 16 (each has its own pixel-aligned layout).
RgbaImage drawIcon(int size);

}  // namespace tapkeys
