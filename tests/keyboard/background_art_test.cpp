#include "keyboard/background_art.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "keyboard/layout.h"
#include "keyboard/layout_scale.h"

namespace tapkeys {
namespace {

// --- Reading the committed files, independently of the tool that wrote them ---

std::vector<std::uint8_t> readFile(const std::string& name) {
    std::ifstream in(std::string(TAPKEYS_ASSETS_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

struct BmpFile {
    int bitsPerPixel = 0;
    RgbImage image;
};

// Uncompressed bottom-up BMPs of 8 (palettised) or 24 bits per pixel.
std::optional<BmpFile> decodeBmp(const std::vector<std::uint8_t>& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 30, 4) != 0) return std::nullopt;
    const std::size_t pixelOffset = le(b, 10, 4), infoSize = le(b, 14, 4);
    const int width = static_cast<int>(le(b, 18, 4)), height = static_cast<int>(le(b, 22, 4));
    const int bpp = static_cast<int>(le(b, 28, 2));
    if ((bpp != 8 && bpp != 24) || width <= 0 || height <= 0) return std::nullopt;
    std::vector<Rgb> palette;
    if (bpp == 8) {
        const std::size_t used = le(b, 46, 4) ? le(b, 46, 4) : 256;
        for (std::size_t i = 0; i < used; ++i) {
            const std::size_t at = 14 + infoSize + 4 * i;
            palette.push_back({b.at(at + 2), b.at(at + 1), b.at(at)});
        }
    }
    const std::size_t rowBytes = static_cast<std::size_t>((width * bpp + 31) / 32 * 4);
    if (b.size() < pixelOffset + rowBytes * static_cast<std::size_t>(height)) return std::nullopt;
    BmpFile file{bpp, RgbImage(width, height)};
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixelOffset + rowBytes * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            if (bpp == 8) {
                file.image.at(x, y) = palette.at(b[row + static_cast<std::size_t>(x)]);
            } else {
                const std::size_t at = row + 3 * static_cast<std::size_t>(x);
                file.image.at(x, y) = {b[at + 2], b[at + 1], b[at]};
            }
        }
    }
    return file;
}

// --- Looking at the picture ---

// Inside the outline colour range (light blue-grey).
bool bright(Rgb c) {
    return c.r >= 185 && c.g >= 200 && c.b >= 220;
}
bool dark(Rgb c) {
    return c.r < 100 && c.g < 100 && c.b < 100;
}
constexpr Rgb kBlack{};

PixelRect frameAt(Control control, int index, int dpi) {
    return LayoutScale{dpi}.toPixels(findLabel(control, index)->rect);
}

// The frames that carry a rectangular outline of their own: every key but Enter, and both buttons.
std::vector<const Label*> rectangularFrames() {
    std::vector<const Label*> frames;
    for (const Label& label : kLayout) {
        const bool frame =
            label.control == Control::KeyBG || (label.control != Control::Key && label.index == 1);
        if (frame && label.control != Control::Return) frames.push_back(&label);
    }
    return frames;
}

// Where the outline of a frame lies at dpi: the outer edges of its lines, right and bottom exclusive.
struct Outline {
    PixelRect outer;
    int width;
};
Outline outlineOf(const PixelRect& f, int dpi) {
    return {{f.left, f.top + scaledPixels(1, dpi), f.right - scaledPixels(2, dpi),
             f.bottom - scaledPixels(1, dpi)},
            scaledPixels(3, dpi)};
}

std::string where(const Label& l, int x, int y) {
    return "control " + std::to_string(int(l.control)) + "(" + std::to_string(l.index) + ") at pixel (" +
           std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The four lines of a rectangular outline, each exactly as thick as it should be, and black inside.
void expectRectangularOutline(const RgbImage& image, const Label& label, int dpi) {
    const PixelRect f = LayoutScale{dpi}.toPixels(label.rect);
    const auto [o, w] = outlineOf(f, dpi);
    const int midX = (o.left + o.right) / 2, midY = (o.top + o.bottom) / 2;
    for (int i = 0; i < w; ++i) {
        EXPECT_TRUE(bright(image.at(o.left + i, midY))) << "left line, " << where(label, o.left + i, midY);
        EXPECT_TRUE(bright(image.at(o.right - 1 - i, midY)))
            << "right line, " << where(label, o.right - 1 - i, midY);
        EXPECT_TRUE(bright(image.at(midX, o.top + i))) << "top line, " << where(label, midX, o.top + i);
        EXPECT_TRUE(bright(image.at(midX, o.bottom - 1 - i)))
            << "bottom line, " << where(label, midX, o.bottom - 1 - i);
    }
    EXPECT_FALSE(bright(image.at(o.left - 1, midY))) << where(label, o.left - 1, midY);
    EXPECT_FALSE(bright(image.at(o.left + w, midY))) << where(label, o.left + w, midY);
    EXPECT_FALSE(bright(image.at(o.right, midY))) << where(label, o.right, midY);
    EXPECT_FALSE(bright(image.at(o.right - 1 - w, midY))) << where(label, o.right - 1 - w, midY);
    EXPECT_FALSE(bright(image.at(midX, o.top - 1))) << where(label, midX, o.top - 1);
    EXPECT_FALSE(bright(image.at(midX, o.top + w))) << where(label, midX, o.top + w);
    EXPECT_FALSE(bright(image.at(midX, o.bottom))) << where(label, midX, o.bottom);
    EXPECT_EQ(image.at(midX, midY), kBlack) << "inside, " << where(label, midX, midY);
}

// Walking from (x, y) in steps of (dx, dy): how many pixels lie between the first line met and the
// next one. Each of them must be dark.
int seamWidth(const RgbImage& image, int x, int y, int dx, int dy) {
    const auto inside = [&] { return x >= 0 && y >= 0 && x < image.width && y < image.height; };
    const auto step = [&] { x += dx, y += dy; };
    while (inside() && !bright(image.at(x, y))) step();
    while (inside() && bright(image.at(x, y))) step();
    int width = 0;
    for (; inside() && !bright(image.at(x, y)); step()) {
        EXPECT_TRUE(dark(image.at(x, y))) << "seam pixel (" << x << ", " << y << ") not dark";
        ++width;
    }
    return inside() ? width : -1;
}

const RgbImage& at96() {
    static const RgbImage image = renderBackground(96);
    return image;
}

// --- The committed bitmap ---

TEST(BackgroundArtTest, CommittedBitmapIsWhatTheLayoutDraws) {
    const auto file = decodeBmp(readFile("background.bmp"));
    ASSERT_TRUE(file) << "assets/background.bmp missing or not an uncompressed 8/24-bit BMP";
    EXPECT_EQ(file->bitsPerPixel, 8);  // the window expects a 256-colour image
    const RgbImage& drawn = at96();
    ASSERT_EQ(file->image.width, drawn.width);
    ASSERT_EQ(file->image.height, drawn.height);
    for (int y = 0; y < drawn.height; ++y) {
        for (int x = 0; x < drawn.width; ++x) {
            ASSERT_EQ(file->image.at(x, y), drawn.at(x, y))
                << "pixel (" << x << ", " << y << ") differs: run tools/make_assets (target update_assets)";
        }
    }
}

TEST(BackgroundArtTest, CommittedLogoAndIconFitTheResourceScript) {
    const auto logo = decodeBmp(readFile("logo.bmp"));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->image.width, kLogoRect.width / kTwipsPerPixelAt96Dpi);
    EXPECT_EQ(logo->image.height, kLogoRect.height / kTwipsPerPixelAt96Dpi);
    EXPECT_EQ(logo->image.at(0, 0), kBlack);  // sits on the black band without a seam
    EXPECT_EQ(logo->image.at(logo->image.width - 1, 0), kBlack);

    const std::vector<std::uint8_t> ico = readFile("tapkeys.ico");
    ASSERT_GE(ico.size(), 6u + 2 * 16);
    EXPECT_EQ(le(ico, 2, 2), 1u);  // an icon, not a cursor
    ASSERT_EQ(le(ico, 4, 2), 2u);
    for (std::size_t entry = 0; entry < 2; ++entry) {
        const std::size_t at = 6 + 16 * entry;
        const std::uint32_t size = entry == 0 ? 32 : 16;
        EXPECT_EQ(ico.at(at), size);
        EXPECT_EQ(ico.at(at + 1), size);
        EXPECT_EQ(le(ico, at + 6, 2), 32u);  // bits per pixel
        const std::size_t image = le(ico, at + 12, 4);
        ASSERT_EQ(le(ico, at + 8, 4), 40 + size * size * 4 + size * 4);  // header, BGRA rows, AND mask
        ASSERT_LE(image + le(ico, at + 8, 4), ico.size());
        EXPECT_EQ(le(ico, image + 8, 4), 2 * size);  // colour and mask rows
        EXPECT_EQ(le(ico, image + 14, 2), 32u);
        bool transparent = false, opaque = false;
        for (std::size_t p = 0; p < size * size; ++p) {
            const std::uint8_t alpha = ico.at(image + 40 + 4 * p + 3);
            transparent |= alpha == 0;
            opaque |= alpha == 255;
        }
        EXPECT_TRUE(transparent && opaque) << size << " px icon needs a shape, not a filled square";
    }
}

// --- The outlines at 96 dpi, where the layout's pixel values hold ---

TEST(BackgroundArtTest, ImageHasTheLayoutSizeAndTheFirstFrameSitsWhereTheTableSays) {
    EXPECT_EQ(at96().width, kBackgroundWidthPx);
    EXPECT_EQ(at96().height, kBackgroundHeightPx);
    const PixelRect first = frameAt(Control::KeyBG, 0, 96);
    EXPECT_EQ(first.left, 840 / kTwipsPerPixelAt96Dpi);
    EXPECT_EQ(first.top, 720 / kTwipsPerPixelAt96Dpi);
    // The left line fills the frame's first three columns, the top line starts one row below it.
    const int midY = (first.top + first.bottom) / 2;
    for (int x = first.left; x < first.left + 3; ++x) EXPECT_TRUE(bright(at96().at(x, midY))) << x;
    EXPECT_FALSE(bright(at96().at(first.left + 3, midY)));
    EXPECT_FALSE(bright(at96().at(first.left + 20, first.top)));
    EXPECT_TRUE(bright(at96().at(first.left + 20, first.top + 1)));
    // Right and bottom lines end two and one pixels inside the frame.
    EXPECT_TRUE(bright(at96().at(first.right - 3, midY)));
    EXPECT_FALSE(bright(at96().at(first.right - 2, midY)));
    EXPECT_TRUE(bright(at96().at(first.left + 20, first.bottom - 2)));
    EXPECT_FALSE(bright(at96().at(first.left + 20, first.bottom - 1)));
}

TEST(BackgroundArtTest, EveryKeyAndButtonIsOutlinedAndBlackInside) {
    for (const Label* frame : rectangularFrames()) expectRectangularOutline(at96(), *frame, 96);
}

TEST(BackgroundArtTest, NeighbouringOutlinesKeepOneDarkPixelBetweenThem) {
    const RgbImage& image = at96();
    // Within a row: key 0 and key 1, whose frames share a column.
    const PixelRect k0 = frameAt(Control::KeyBG, 0, 96), k1 = frameAt(Control::KeyBG, 1, 96);
    ASSERT_EQ(k0.right - 1, k1.left);
    const int midY = (k0.top + k0.bottom) / 2;
    EXPECT_EQ(seamWidth(image, (k0.left + k0.right) / 2, midY, 1, 0), 1);
    EXPECT_TRUE(dark(image.at(k1.left - 1, midY)));
    // Between rows: key 2 above key 14, at a column both frames cover.
    const PixelRect up = frameAt(Control::KeyBG, 2, 96), down = frameAt(Control::KeyBG, 14, 96);
    ASSERT_EQ(up.bottom - 1, down.top);
    const int x = (std::max(up.left, down.left) + std::min(up.right, down.right)) / 2;
    EXPECT_EQ(seamWidth(image, x, (up.top + up.bottom) / 2, 0, 1), 1);
    EXPECT_TRUE(dark(image.at(x, down.top)));
    // The options and close buttons.
    const PixelRect options = frameAt(Control::Options, 1, 96), close = frameAt(Control::Close, 1, 96);
    EXPECT_EQ(seamWidth(image, (options.left + options.right) / 2, (close.top + close.bottom) / 2, 1, 0), 1);
    // A special key beside a character key: Esc and key 0.
    const PixelRect esc = frameAt(Control::Esc, 1, 96);
    EXPECT_EQ(seamWidth(image, (esc.left + esc.right) / 2, (esc.top + esc.bottom) / 2, 1, 0), 1);
}

TEST(BackgroundArtTest, LinesAreBrighterAtTheTop) {
    const PixelRect k = frameAt(Control::KeyBG, 20, 96);
    const auto [o, w] = outlineOf(k, 96);
    const Rgb top = at96().at((o.left + o.right) / 2, o.top + 1);
    const Rgb bottom = at96().at((o.left + o.right) / 2, o.bottom - 2);
    EXPECT_GT(top.r + top.g + top.b, bottom.r + bottom.g + bottom.b + 30);
}

TEST(BackgroundArtTest, EnterHasOneLShapedOutline) {
    const RgbImage& image = at96();
    const Label& upperLabel = *findLabel(Control::Return, 1);
    const PixelRect upper = frameAt(Control::Return, 1, 96), lower = frameAt(Control::Return, 3, 96);
    const auto [u, w] = outlineOf(upper, 96);
    const auto [l, lw] = outlineOf(lower, 96);
    ASSERT_EQ(upper.right, lower.right);
    ASSERT_GT(lower.left, upper.left + 2 * w);

    // Upper part: left, top and right lines as for any key.
    const int upperMidY = (u.top + u.bottom) / 2;
    for (int i = 0; i < w; ++i) {
        EXPECT_TRUE(bright(image.at(u.left + i, upperMidY))) << where(upperLabel, u.left + i, upperMidY);
        EXPECT_TRUE(bright(image.at(u.right - 1 - i, upperMidY)));
        EXPECT_TRUE(bright(image.at(u.right - 1 - i, (l.top + l.bottom) / 2)));
    }
    // The step of the L: the upper frame's bottom line runs only left of the lower frame ...
    const int stepX = (u.left + l.left) / 2;
    for (int i = 0; i < w; ++i) EXPECT_TRUE(bright(image.at(stepX, u.bottom - 1 - i))) << u.bottom - 1 - i;
    // ... and turns down into the lower frame's left line.
    const int lowerMidY = (l.top + l.bottom) / 2;
    for (int i = 0; i < w; ++i) EXPECT_TRUE(bright(image.at(l.left + i, lowerMidY)));
    EXPECT_FALSE(bright(image.at(l.left + w, lowerMidY)));

    // Inside the L, from the top line down to the bottom line, no line crosses between the frames.
    const int x = (l.left + w + l.right - w) / 2;
    for (int y = u.top + w; y < l.bottom - w; ++y)
        EXPECT_FALSE(bright(image.at(x, y))) << "line across at row " << y;
    EXPECT_EQ(image.at(x, upper.bottom - 1), kBlack);
    EXPECT_EQ(image.at(x, lower.top), kBlack);
    // The touch area between the rows has no outline of its own.
    const PixelRect touch = frameAt(Control::Return, 2, 96);
    EXPECT_FALSE(bright(image.at(touch.left, (touch.top + touch.bottom) / 2)));
    EXPECT_FALSE(bright(image.at((touch.left + touch.right) / 2, touch.top + 1)));
}

TEST(BackgroundArtTest, TopBandRightOfTheLogoIsLeftFreeForTheTitle) {
    const LayoutScale scale{96};
    const PixelRect logo = scale.toPixels(kLogoRect);
    const int glow = 5;  // the glow's reach, with a pixel to spare
    const int right = frameAt(Control::Options, 1, 96).left - glow;
    const int bottom = frameAt(Control::KeyBG, 0, 96).top - glow;
    for (int y = 0; y < bottom; ++y) {
        for (int x = logo.right; x < right; ++x) ASSERT_EQ(at96().at(x, y), kBlack) << x << ", " << y;
    }
}

// --- Other densities: drawn afresh, not stretched ---

class BackgroundArtAtDpiTest : public ::testing::TestWithParam<int> {};

TEST_P(BackgroundArtAtDpiTest, OutlinesFollowTheScaledFrames) {
    const int dpi = GetParam();
    const RgbImage image = renderBackground(dpi);
    EXPECT_EQ(image.width, scaledPixels(kBackgroundWidthPx, dpi));
    EXPECT_EQ(image.height, scaledPixels(kBackgroundHeightPx, dpi));
    for (const Label* frame : rectangularFrames()) expectRectangularOutline(image, *frame, dpi);
    // Neighbouring outlines never touch.
    const PixelRect k0 = frameAt(Control::KeyBG, 0, dpi);
    EXPECT_GE(seamWidth(image, (k0.left + k0.right) / 2, (k0.top + k0.bottom) / 2, 1, 0), 1);
    const PixelRect up = frameAt(Control::KeyBG, 2, dpi);
    EXPECT_GE(seamWidth(image, (up.left + up.right) / 2, (up.top + up.bottom) / 2, 0, 1), 1);
}

INSTANTIATE_TEST_SUITE_P(Densities, BackgroundArtAtDpiTest, ::testing::Values(96, 120, 144, 192));

TEST(BackgroundArtTest, At144DpiEverythingIsHalfAgainAsLarge) {
    const RgbImage image = renderBackground(144);
    EXPECT_EQ(image.width, 948);
    EXPECT_EQ(image.height, 327);
    // Key 0's frame starts at 840 twips = 84 px; its left line is 4.5 px rounded to 5.
    const PixelRect k0 = frameAt(Control::KeyBG, 0, 144);
    ASSERT_EQ(k0.left, 840 * 144 / 1440);
    const int midY = (k0.top + k0.bottom) / 2;
    for (int x = k0.left; x < k0.left + 5; ++x) EXPECT_TRUE(bright(image.at(x, midY))) << x;
    EXPECT_FALSE(bright(image.at(k0.left + 5, midY)));
}

}  // namespace
}  // namespace tapkeys
