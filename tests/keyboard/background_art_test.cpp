#include "keyboard/background_art.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "keyboard/layout_scale.h"

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

bool bright(Rgb c) {  // the outline colour range (light blue-grey)
    return c.r >= 185 && c.g >= 200 && c.b >= 220;
}

// The outline lines that a ray from the middle of r in steps of (dx, dy) crosses: how far away each
// begins, how wide it is, and how many pixels lie between it and the line before, and how many of
// those are dark.
struct Crossing {
    int at, width, gapBefore, darkBefore;
};
std::vector<Crossing> crossings(const RgbImage& image, const PixelRect& r, int dx, int dy) {
    std::vector<Crossing> lines;
    int gap = 0, dark = 0;
    for (int at = 0, x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
         x >= 0 && y >= 0 && x < image.width && y < image.height; ++at, x += dx, y += dy) {
        const Rgb c = image.at(x, y);
        if (!bright(c)) {
            ++gap, dark += c.r < 100 && c.g < 100 && c.b < 100;
        } else if (at > 0 && gap == 0) {
            ++lines.back().width;
        } else {
            lines.push_back({at, 1, std::exchange(gap, 0), std::exchange(dark, 0)});
        }
    }
    return lines;
}

PixelRect frameAt(Control control, int index, int dpi = 96) {
    return LayoutScale{dpi}.toPixels(findLabel(control, index)->rect);
}

TEST(BackgroundArtTest, CommittedAssetsAreWhatTheLayoutDraws) {
    std::ifstream in(TAPKEYS_ASSETS_DIR "/background.bmp", std::ios::binary);
    const RgbImage committed = decodeBmp({std::istreambuf_iterator<char>(in), {}}),
                   drawn = renderBackground(96);
    ASSERT_EQ(committed.width, drawn.width) << "assets/background.bmp: not an uncompressed 8-bit BMP?";
    ASSERT_EQ(committed.height, drawn.height);
    EXPECT_TRUE(committed.pixels == drawn.pixels) << "run tools/make_assets (target update_assets)";
}

// At 96 dpi neighbours lie exactly one dark pixel apart: key 0 and key 1, key 2 above key 14, Esc and
// key 0, options and close. Enter has one L of lines around both frames, none across between them, and
// the touch area between the rows has no outline of its own.
TEST(BackgroundArtTest, NeighboursLieOnePixelApartAndEnterIsOneL) {
    const RgbImage image = renderBackground(96);
    const PixelRect upper = frameAt(Control::Return, 1), lower = frameAt(Control::Return, 3),
                    options = frameAt(Control::Options, 1), close = frameAt(Control::Close, 1),
                    touch = frameAt(Control::Return, 2);
    const int downToLower = (lower.top + lower.bottom - upper.top - upper.bottom) / 2;
    // From the middle of, in direction, the least distance to the first line, the exact gap to the next.
    const std::tuple<PixelRect, int, int, int, int> rays[] = {
        {frameAt(Control::KeyBG, 0), 1, 0, 0, 1},
        {frameAt(Control::KeyBG, 2), 0, 1, 0, 1},
        {frameAt(Control::Esc, 1), 1, 0, 0, 1},
        {{options.left, close.top, options.right, close.bottom}, 1, 0, 0, 1},
        {lower, 0, -1, downToLower, 0},
        {lower, -1, 0, (lower.left + lower.right) / 2 - touch.left, 0},
        {{upper.left, upper.top, lower.left, upper.bottom}, 0, 1, 0, 0}};
    for (const auto& [from, dx, dy, least, gap] : rays) {
        SCOPED_TRACE(::testing::Message() << from.left << "," << from.top << " towards " << dx << "," << dy);
        const auto lines = crossings(image, from, dx, dy);
        ASSERT_GE(lines.size(), gap ? 2u : 1u);
        EXPECT_EQ(lines[0].width, 3);
        EXPECT_GT(lines[0].at, least);
        EXPECT_TRUE(!gap || (lines[1].gapBefore == gap && lines[1].darkBefore == gap));
    }
}

}  // namespace
}  // namespace tapkeys
