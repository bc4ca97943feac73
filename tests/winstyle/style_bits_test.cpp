#include "winstyle/style_bits.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

TEST(StyleBits, SettingAMaskTouchesOnlyItsBits) {
    constexpr std::uint32_t style = 0x12340000 | kStyleSysMenu;
    EXPECT_EQ(withStyleBits(style, kStyleMaximizeBox, true), style | kStyleMaximizeBox);
    EXPECT_EQ(withStyleBits(style, kStyleSysMenu, false), 0x12340000u);
    // Already in the requested state: the word comes back unchanged.
    EXPECT_EQ(withStyleBits(style, kStyleSysMenu, true), style);
    EXPECT_EQ(withStyleBits(0xFFFFFFFFu, kStyleCaption, false), ~kStyleCaption);
}

TEST(StyleBits, CaptionIsSetAndClearedAsTwoBitsAndReadsWithEitherHalf) {
    EXPECT_EQ(withStyleBits(kStyleDialogFrame, kStyleCaption, true), 0x00C00000u);
    EXPECT_EQ(withStyleBits(kStyleDialogFrame, kStyleCaption, false), 0u);
    EXPECT_TRUE(hasAnyStyleBit(kStyleDialogFrame, kStyleCaption));
    EXPECT_TRUE(hasAnyStyleBit(kStyleBorder, kStyleCaption));
    EXPECT_FALSE(hasAnyStyleBit(~kStyleCaption, kStyleCaption));
}

TEST(StyleBits, PointPacksYHighAndXLowAsTwosComplementWords) {
    EXPECT_EQ(packPointLParam(-5, 10), 0x000AFFFBu);
    EXPECT_EQ(packPointLParam(10, -5), 0xFFFB000Au);
    EXPECT_EQ(packPointLParam(-32768, 32767), 0x7FFF8000u);
    EXPECT_EQ(packPointLParam(-1, -1), 0xFFFFFFFFu);
    EXPECT_EQ(packPointLParam(0, 0), 0u);
}

TEST(StyleBits, CoordinatesOutsideSixteenBitsDoNotNarrow) {
    EXPECT_EQ(narrowScreenCoordinate(-32768), std::int16_t{-32768});
    EXPECT_EQ(narrowScreenCoordinate(32767), std::int16_t{32767});
    EXPECT_EQ(narrowScreenCoordinate(-5), std::int16_t{-5});
    EXPECT_EQ(narrowScreenCoordinate(32768), std::nullopt);
    EXPECT_EQ(narrowScreenCoordinate(-32769), std::nullopt);
    EXPECT_EQ(narrowScreenCoordinate(40000), std::nullopt);
    EXPECT_EQ(narrowScreenCoordinate(INT32_MIN), std::nullopt);
}

}  // namespace
}  // namespace tapkeys
