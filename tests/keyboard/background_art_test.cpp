#include "keyboard/background_art.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tapkeys {
namespace {

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

// An uncompressed bottom-up 256-colour BMP (what the window expects), read independently of the tool
// that wrote it.
RgbImage decodeBmp(const std::vector<std::uint8_t>& b) {
    if (b.size() < 54 || le(b, 0, 2) != 0x4D42 || le(b, 30, 4) != 0 || le(b, 28, 2) != 8) return {};
    RgbImage image(static_cast<int>(le(b, 18, 4)), static_cast<int>(le(b, 22, 4)));
    for (int y = 0; y < image.height; ++y) {
        const std::size_t row = le(b, 10, 4) + (image.width + 3) / 4 * 4 * std::size_t(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const std::size_t colour = 14 + le(b, 14, 4) + 4 * std::size_t{b.at(row + x)};
            image.at(x, y) = {b.at(colour + 2), b.at(colour + 1), b.at(colour)};
        }
    }
    return image;
}

TEST(BackgroundArtTest, CommittedAssetsAreWhatTheLayoutDraws) {
    std::ifstream in(TAPKEYS_ASSETS_DIR "/background.bmp", std::ios::binary);
    const RgbImage committed = decodeBmp({std::istreambuf_iterator<char>(in), {}}),
                   drawn = renderBackground(96);
    ASSERT_EQ(committed.width, drawn.width) << "assets/background.bmp: not an uncompressed 8-bit BMP?";
    ASSERT_EQ(committed.height, drawn.height);
    EXPECT_TRUE(committed.pixels == drawn.pixels) << "a changed drawing: look at it, then run tools/make_assets (target update_assets)";
}

}  // namespace
}  // namespace tapkeys
