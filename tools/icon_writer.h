#pragma once
// Windows .ico files holding 32-bit images with alpha (BMP-style entries, which every Windows
// version and resource compiler reads).

#include <cstdint>
#include <span>
#include <vector>

#include "tools/canvas.h"

namespace tapkeys {

// One entry per image, in the order given; each image at most 256 x 256.
std::vector<std::uint8_t> encodeIco(std::span<const RgbaImage> images);

}  // namespace tapkeys
