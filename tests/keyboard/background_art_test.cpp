#include "keyboard/background_art.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
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
std::optional<RgbImage> decodeBmp(const std::vector<std::uint8_t>& b, unsigned bitsPerPixel) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 30, 4) != 0 || le(b, 28, 2) != bitsPerPixel) {
        return std::nullopt;
    }
    RgbImage image(static_cast<int>(le(b, 18, 4)), static_cast<int>(le(b, 22, 4)));
    const std::size_t rowBytes =
        static_cast<std::size_t>((image.width * static_cast<int>(bitsPerPixel) + 31) / 32 * 4);
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

bool bright(Rgb c) {  // inside the outline colour range (light blue-grey)
    return c.r >= 185 && c.g >= 200 && c.b >= 220;
}
bool dark(Rgb c) {
    return c.r < 100 && c.g < 100 && c.b < 100;
}

PixelRect frameAt(Control control, int index, int dpi = 96) {
    return LayoutScale{dpi}.toPixels(findLabel(control, index)->rect);
}

// Where the outline of a frame lies at dpi: the outer edges of its lines, right and bottom exclusive.
struct Outline {
    int left, top, right, bottom, width;
};
Outline outlineOf(const PixelRect& f, int dpi) {
    return {f.left, f.top + scaledPixels(1, dpi), f.right - scaledPixels(2, dpi),
            f.bottom - scaledPixels(1, dpi), scaledPixels(3, dpi)};
}

// The four lines of a rectangular outline, each exactly as thick as it should be, and black inside.
void expectRectangularOutline(const RgbImage& image, const Label& label, int dpi) {
    const auto [left, top, right, bottom, w] = outlineOf(LayoutScale{dpi}.toPixels(label.rect), dpi);
    const int midX = (left + right) / 2, midY = (top + bottom) / 2;
    std::vector<std::tuple<int, int, bool>> probes{
        {left - 1, midY, false}, {left + w, midY, false}, {right, midY, false}, {right - 1 - w, midY, false},
        {midX, top - 1, false},  {midX, top + w, false},  {midX, bottom, false}};
    for (int i = 0; i < w; ++i) {
        probes.insert(probes.end(), {{left + i, midY, true},
                                     {right - 1 - i, midY, true},
                                     {midX, top + i, true},
                                     {midX, bottom - 1 - i, true}});
    }
    for (const auto& [x, y, line] : probes) {
        EXPECT_EQ(bright(image.at(x, y)), line) << "control " << int(label.control) << "(" << label.index
                                                << ") at pixel (" << x << ", " << y << ")";
    }
    EXPECT_EQ(image.at(midX, midY), Rgb{})
        << "inside control " << int(label.control) << "(" << label.index << ")";
}

// Walking from the middle of a frame in steps of (dx, dy): how many pixels lie between its line and the
// next one. Each of them must be dark.
int seamWidth(const RgbImage& image, const PixelRect& frame, int dx, int dy) {
    int x = (frame.left + frame.right) / 2, y = (frame.top + frame.bottom) / 2, width = 0;
    const auto inside = [&] { return x >= 0 && y >= 0 && x < image.width && y < image.height; };
    while (inside() && !bright(image.at(x, y))) x += dx, y += dy;
    while (inside() && bright(image.at(x, y))) x += dx, y += dy;
    for (; inside() && !bright(image.at(x, y)); x += dx, y += dy, ++width) {
        EXPECT_TRUE(dark(image.at(x, y))) << "seam pixel (" << x << ", " << y << ") not dark";
    }
    return inside() ? width : -1;
}

const RgbImage& at96() {
    static const RgbImage image = renderBackground(96);
    return image;
}

// The window expects a 256-colour image; the logo sits on the black band without a seam; each icon
// image needs a shape, not a filled square.
TEST(BackgroundArtTest, CommittedAssetsAreWhatTheLayoutDrawsAndFitTheResourceScript) {
    const auto committed = decodeBmp(readAsset("background.bmp"), 8);
    ASSERT_TRUE(committed) << "assets/background.bmp missing or not an uncompressed 8-bit BMP";
    ASSERT_EQ(committed->width, at96().width);
    ASSERT_EQ(committed->height, at96().height);
    for (std::size_t i = 0; i < committed->pixels.size(); ++i) {
        ASSERT_EQ(committed->pixels[i], at96().pixels[i])
            << "pixel " << i % 632 << ", " << i / 632
            << " differs: run tools/make_assets (target update_assets)";
    }
    const auto logo = decodeBmp(readAsset("logo.bmp"), 24);
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->width * kTwipsPerPixelAt96Dpi, kLogoRect.width);
    EXPECT_EQ(logo->height * kTwipsPerPixelAt96Dpi, kLogoRect.height);
    EXPECT_EQ(logo->at(0, 0), Rgb{});
    EXPECT_EQ(logo->at(logo->width - 1, 0), Rgb{});

    const std::vector<std::uint8_t> ico = readAsset("tapkeys.ico");
    ASSERT_EQ(le(ico, 0, 4), 0x00010000u);  // an icon, not a cursor
    ASSERT_EQ(le(ico, 4, 2), 2u);
    for (const std::uint32_t size : {32u, 16u}) {
        const std::size_t entry = size == 32 ? 6 : 22, image = le(ico, entry + 12, 4);
        EXPECT_EQ(le(ico, entry, 2), size * 0x101);                         // width and height
        EXPECT_EQ(le(ico, entry + 6, 2), 32u);                              // bits per pixel
        ASSERT_EQ(le(ico, entry + 8, 4), 40 + size * size * 4 + size * 4);  // header, BGRA rows, AND mask
        std::set<std::uint8_t> alphas;
        for (std::size_t p = 0; p < size * size; ++p) alphas.insert(ico.at(image + 40 + 4 * p + 3));
        EXPECT_TRUE(alphas.count(0) && alphas.count(255)) << size << " px icon";
    }
}

// Other densities are drawn afresh, not stretched: 4.5-pixel lines at 144 dpi round up to 5.
TEST(BackgroundArtTest, EveryKeyAndButtonIsOutlinedApartFromItsNeighboursAtEveryDensity) {
    EXPECT_EQ(scaledPixels(3, 144), 5);
    for (const auto& [dpi, width, height] :
         {std::tuple{96, 632, 218}, {120, 790, 273}, {144, 948, 327}, {192, 1264, 436}}) {
        SCOPED_TRACE(::testing::Message() << dpi << " dpi");
        const RgbImage image = renderBackground(dpi);
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, height);
        // Every key but Enter and both buttons carry an outline of their own.
        for (const Label& label : kLayout) {
            if (label.control == Control::KeyBG ||
                (label.control != Control::Key && label.control != Control::Return && label.index == 1)) {
                expectRectangularOutline(image, label, dpi);
            }
        }
        EXPECT_GE(seamWidth(image, frameAt(Control::KeyBG, 0, dpi), 1, 0), 1);
        EXPECT_GE(seamWidth(image, frameAt(Control::KeyBG, 2, dpi), 0, 1), 1);
    }
    // At 96 dpi exactly one dark pixel: key 0 beside key 1, key 2 above key 14, options beside close, Esc
    // beside key 0.
    ASSERT_EQ(frameAt(Control::KeyBG, 0).right - 1, frameAt(Control::KeyBG, 1).left);
    EXPECT_EQ(seamWidth(at96(), frameAt(Control::KeyBG, 0), 1, 0), 1);
    ASSERT_EQ(frameAt(Control::KeyBG, 2).bottom - 1, frameAt(Control::KeyBG, 14).top);
    EXPECT_EQ(seamWidth(at96(), frameAt(Control::KeyBG, 2), 0, 1), 1);
    const PixelRect options = frameAt(Control::Options, 1), close = frameAt(Control::Close, 1);
    EXPECT_EQ(seamWidth(at96(), {options.left, close.top, options.right, close.bottom}, 1, 0), 1);
    EXPECT_EQ(seamWidth(at96(), frameAt(Control::Esc, 1), 1, 0), 1);
}

TEST(BackgroundArtTest, EnterHasOneLShapedOutline) {
    const RgbImage& image = at96();
    const PixelRect upper = frameAt(Control::Return, 1), lower = frameAt(Control::Return, 3);
    const Outline u = outlineOf(upper, 96), l = outlineOf(lower, 96);
    const int w = u.width, upperMidY = (u.top + u.bottom) / 2, lowerMidY = (l.top + l.bottom) / 2;
    ASSERT_EQ(upper.right, lower.right);
    ASSERT_GT(lower.left, upper.left + 2 * w);
    for (int i = 0; i < w; ++i) {
        // Left, top and right lines as for any key; the upper frame's bottom line runs only left of the
        // lower frame and turns down into the lower frame's left line.
        EXPECT_TRUE(bright(image.at(u.left + i, upperMidY)));
        EXPECT_TRUE(bright(image.at(u.right - 1 - i, upperMidY)));
        EXPECT_TRUE(bright(image.at(u.right - 1 - i, lowerMidY)));
        EXPECT_TRUE(bright(image.at((u.left + l.left) / 2, u.bottom - 1 - i)));
        EXPECT_TRUE(bright(image.at(l.left + i, lowerMidY)));
    }
    EXPECT_FALSE(bright(image.at(l.left + w, lowerMidY)));
    // Inside the L, from the top line down to the bottom line, no line crosses between the frames; the
    // touch area between the rows has no outline of its own.
    const int x = (l.left + l.right) / 2;
    for (int y = u.top + w; y < l.bottom - w; ++y) EXPECT_FALSE(bright(image.at(x, y))) << "row " << y;
    EXPECT_EQ(image.at(x, upper.bottom - 1), Rgb{});
    EXPECT_EQ(image.at(x, lower.top), Rgb{});
    const PixelRect touch = frameAt(Control::Return, 2);
    EXPECT_FALSE(bright(image.at(touch.left, (touch.top + touch.bottom) / 2)));
    EXPECT_FALSE(bright(image.at((touch.left + touch.right) / 2, touch.top + 1)));
}

TEST(BackgroundArtTest, TopBandRightOfTheLogoIsLeftFreeForTheTitle) {
    const int glow = 5;  // the glow's reach, with a pixel to spare
    const int right = frameAt(Control::Options, 1).left - glow,
              bottom = frameAt(Control::KeyBG, 0).top - glow;
    for (int y = 0; y < bottom; ++y) {
        for (int x = LayoutScale{96}.toPixels(kLogoRect).right; x < right; ++x) {
            ASSERT_EQ(at96().at(x, y), Rgb{}) << x << ", " << y;
        }
    }
}

}  // namespace
}  // namespace tapkeys
