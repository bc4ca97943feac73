#pragma once
// Windows .bmp files: uncompressed, bottom-up, BITMAPINFOHEADER.

#include <cstdint>
#include <optional>
#include <vector>

#include "keyboard/background_art.h"

namespace tapkeys {

// 8 bits per pixel with a palette of exactly the colours used; nullopt for more than 256 colours.
std::optional<std::vector<std::uint8_t>> encodeBmp8(const RgbImage& image);

// 24 bits per pixel.
std::vector<std::uint8_t> encodeBmp24(const RgbImage& image);

}  // namespace tapkeys
