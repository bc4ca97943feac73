#include "keyboard/background_art.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "keyboard/layout_scale.h"

namespace tapkeys {
namespace {

std::vector<std::uint8_t> readAsset(const std::string& name) {
    std::ifstream in(std::string(TAPKEYS_ASSETS_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

// An uncompressed bottom-up BMP of 8 (palettised) or 24 bits per pixel, read independently of the tool
// that wrote it.
RgbImage decodeBmp(const std::vector<std::uint8_t>& b, unsigned bitsPerPixel) {
    if (b.size() < 54 || le(b, 0, 2) != 0x4D42 || le(b, 30, 4) != 0 || le(b, 28, 2) != bitsPerPixel)
        return {};
    RgbImage image(static_cast<int>(le(b, 18, 4)), static_cast<int>(le(b, 22, 4)));
    const std::size_t rowBytes = (image.width * bitsPerPixel + 31) / 32 * 4;
    for (int y = 0; y < image.height; ++y) {
        const std::size_t row = le(b, 10, 4) + rowBytes * static_cast<std::size_t>(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const std::size_t at = bitsPerPixel == 8 ? 14 + le(b, 14, 4) + 4 * std::size_t{b.at(row + x)}
                                                     : row + 3 * static_cast<std::size_t>(x);
            image.at(x, y) = {b.at(at + 2), b.at(at + 1), b.at(at)};
        }
    }
    return image;
}

bool bright(Rgb c) {  // the outline colour range (light blue-grey)
    return c.r >= 185 && c.g >= 200 && c.b >= 220;
}

// The outline lines that a ray from (x, y) in steps of (dx, dy) crosses: how far away each begins, how
// wide it is, and how many dark pixels lie between it and the line before.
struct Crossing {
    int at, width, darkBefore;
};
std::vector<Crossing> crossings(const RgbImage& image, int x, int y, int dx, int dy) {
    std::vector<Crossing> lines;
    int dark = 0;
    for (int at = 0; x >= 0 && y >= 0 && x < image.width && y < image.height; ++at, x += dx, y += dy) {
        const Rgb c = image.at(x, y);
        if (!bright(c)) {
            dark += c.r < 100 && c.g < 100 && c.b < 100;
        } else if (at > 0 && bright(image.at(x - dx, y - dy))) {
            ++lines.back().width;
        } else {
            lines.push_back({at, 1, std::exchange(dark, 0)});
        }
    }
    return lines;
}

PixelRect frameAt(Control control, int index, int dpi = 96) {
    return LayoutScale{dpi}.toPixels(findLabel(control, index)->rect);
}
int midX(const PixelRect& r) {
    return (r.left + r.right) / 2;
}
int midY(const PixelRect& r) {
    return (r.top + r.bottom) / 2;
}

// The window expects a 256-colour image; the logo fills its place and sits on the black band without a
// seam; each icon image needs a shape, not a filled square.
TEST(BackgroundArtTest, CommittedAssetsAreWhatTheLayoutDraws) {
    const RgbImage committed = decodeBmp(readAsset("background.bmp"), 8), drawn = renderBackground(96);
    ASSERT_EQ(committed.width, drawn.width) << "assets/background.bmp: not an uncompressed 8-bit BMP?";
    ASSERT_EQ(committed.height, drawn.height);
    EXPECT_TRUE(committed.pixels == drawn.pixels) << "run tools/make_assets (target update_assets)";
    const RgbImage logo = decodeBmp(readAsset("logo.bmp"), 24);
    EXPECT_EQ((PixelRect{0, 0, logo.width, logo.height}),
              LayoutScale{96}.toPixels(TwipsRect{0, 0, kLogoRect.width, kLogoRect.height}));
    EXPECT_TRUE(logo.pixels.front() == Rgb{} && logo.at(logo.width - 1, 0) == Rgb{});
    const std::vector<std::uint8_t> ico = readAsset("tapkeys.ico");
    for (std::size_t entry = 6; entry < 6 + 16 * le(ico, 4, 2); entry += 16) {
        std::set<std::uint8_t> alphas;
        for (std::size_t p = 0; p < ico.at(entry) * ico.at(entry); ++p)
            alphas.insert(ico.at(le(ico, entry + 12, 4) + 40 + 4 * p + 3));
        EXPECT_TRUE(alphas.count(0) && alphas.count(255)) << int(ico.at(entry)) << " px icon";
    }
}

// Other densities are drawn afresh, not stretched: 4.5-pixel lines at 144 dpi round up to 5. Every key
// but Enter and both buttons carry an outline of their own, apart from the next one by dark pixels.
TEST(BackgroundArtTest, EveryKeyAndButtonIsOutlinedApartFromItsNeighboursAtEveryDensity) {
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(::testing::Message() << dpi << " dpi");
        const RgbImage image = renderBackground(dpi);
        ASSERT_GE(image.width, LayoutScale{dpi}.windowWidth());
        ASSERT_GE(image.height, LayoutScale{dpi}.windowHeight());
        for (const Label& label : kLayout) {
            if (label.control != Control::KeyBG &&
                (label.index != 1 || label.control == Control::Key || label.control == Control::Return))
                continue;
            const PixelRect f = LayoutScale{dpi}.toPixels(label.rect);
            SCOPED_TRACE(::testing::Message() << int(label.control) << "(" << int(label.index) << ")");
            EXPECT_EQ(image.at(midX(f), midY(f)), Rgb{});
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const auto lines = crossings(image, midX(f), midY(f), dx, dy);
                ASSERT_FALSE(lines.empty());
                EXPECT_EQ(lines[0].width, scaledPixels(3, dpi));
                EXPECT_GE(lines.size() > 1 ? lines[1].darkBefore : 1, 1);
            }
        }
    }
    // At 96 dpi exactly one dark pixel: key 0 beside key 1, key 2 above key 14, Esc beside key 0, options
    // beside close.
    const RgbImage image = renderBackground(96);
    const PixelRect key0 = frameAt(Control::KeyBG, 0), key2 = frameAt(Control::KeyBG, 2),
                    esc = frameAt(Control::Esc, 1);
    for (const auto& lines :
         {crossings(image, midX(key0), midY(key0), 1, 0), crossings(image, midX(key2), midY(key2), 0, 1),
          crossings(image, midX(esc), midY(esc), 1, 0),
          crossings(image, midX(frameAt(Control::Options, 1)), midY(frameAt(Control::Close, 1)), 1, 0)}) {
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1].at - lines[0].at - lines[0].width, 1);
    }
}

// Enter: one L of lines around both frames, none across between them, and the touch area between the
// rows without an outline of its own; the band right of the logo stays free for the title.
TEST(BackgroundArtTest, EnterHasOneLShapedOutlineAndTheTitleBandIsFree) {
    const RgbImage image = renderBackground(96);
    const PixelRect upper = frameAt(Control::Return, 1), lower = frameAt(Control::Return, 3),
                    touch = frameAt(Control::Return, 2);
    const int w = scaledPixels(3, 96);
    const std::tuple<int, int, int, int, int> rays[] = {
        // from, direction, least distance to the first line
        {midX(lower), midY(lower), 0, -1, midY(lower) - midY(upper)},
        {midX(lower), midY(lower), -1, 0, midX(lower) - touch.left},
        {midX(lower), midY(lower), 1, 0, 0},
        {midX(lower), midY(lower), 0, 1, 0},
        {midX(upper), midY(upper), -1, 0, 0},
        {midX(upper), midY(upper), 1, 0, 0},
        {(upper.left + lower.left) / 2, midY(upper), 0, 1, 0}};
    for (const auto& [x, y, dx, dy, least] : rays) {
        const auto lines = crossings(image, x, y, dx, dy);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0].width, w) << x << "," << y << " towards " << dx << "," << dy;
        EXPECT_GT(lines[0].at, least) << x << "," << y << " towards " << dx << "," << dy;
    }
    const int glow = 5;  // its reach, with a pixel to spare
    for (int y = 0; y < frameAt(Control::KeyBG, 0).top - glow; ++y) {
        for (int x = LayoutScale{96}.toPixels(kLogoRect).right; x < frameAt(Control::Options, 1).left - glow;
             ++x) {
            ASSERT_EQ(image.at(x, y), Rgb{}) << x << ", " << y;
        }
    }
}

}  // namespace
}  // namespace tapkeys
