#include "keyboard/scan_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "keyboard/background_art.h"
#include "keyboard/key_font.h"

namespace tapkeys {
namespace {

std::string describe(const ScanRow& row) {
    const auto name = [](const ScanItem& item) {
        if (item.kind == ScanItem::Kind::StripCell)
            return std::string("cell").append(std::to_string(item.cell));
        if (item.key.control == Control::Key) return std::to_string(item.key.index);
        return std::to_string(static_cast<int>(item.key.control)).append("*");
    };
    return name(row.front())
        .append("..")
        .append(name(row.back()))
        .append("/")
        .append(std::to_string(row.size()));
}

// Named keys (by their Control number, marked *) end the rows in their places; the strip comes only
// with cells; a row's outline spans its band from Esc's left edge to Backspace's right edge.
TEST(ScanRows, KeyRowsStripAndOptionsInOrderWithOutlines) {
    std::string order;
    for (const ScanRow& row : scanRows(0)) order.append(describe(row)).append(" ");
    EXPECT_EQ(order, "2*..6*/14 3*..7*/14 4*..7*/14 5*..8*/13 9*..9*/1 ");
    const std::vector<ScanRow> withStrip = scanRows(3);
    ASSERT_EQ(withStrip.size(), 6u);
    EXPECT_EQ(describe(withStrip[4]), "cell0..cell2/3");
    const std::tuple<int, int, int, int, int, int> outlines[] = {// row, item: left, top, width, rects
                                                                 {0, -1, 120, 720, 9255, 1},
                                                                 {2, -1, 120, 1920, 9255, 1},
                                                                 {3, -1, 120, 2520, 9255, 1},
                                                                 {1, 13, 8280, 1320, 1095, 2},
                                                                 {0, 1, 840, 720, 615, 1}};
    for (const auto& [row, item, left, top, width, count] : outlines) {
        const std::vector<TwipsRect> rects = scanOutline(withStrip[static_cast<std::size_t>(row)], item);
        ASSERT_EQ(static_cast<int>(rects.size()), count) << row << "." << item;
        EXPECT_EQ(std::tuple(rects[0].left, rects[0].top, rects[0].width), std::tuple(left, top, width))
            << row << "." << item;
    }
    EXPECT_TRUE(scanOutline(withStrip[4], 1).empty());
}

// The highlight must read against both what the image shows around it: the black and the brightest
// outline pixel of the key block.
TEST(ScanRows, HighlightHoldsThreeToOneAgainstTheBackgroundImage) {
    const RgbImage image = renderBackground();
    std::uint32_t brightest = 0;
    for (int y = 48; y < 210; ++y) {
        for (int x = 8; x < 626; ++x) {
            const Rgb p = image.at(x, y);
            const std::uint32_t colour = p.r | (p.g << 8) | (p.b << 16);
            if (contrastRatio(colour, 0) > contrastRatio(brightest, 0)) brightest = colour;
        }
    }
    EXPECT_GE(contrastRatio(kScanHighlightColour, 0), 3.0);
    EXPECT_GE(contrastRatio(kScanHighlightColour, brightest), 3.0) << std::hex << brightest;
}

}  // namespace
}  // namespace tapkeys
