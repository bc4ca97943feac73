#include "winstyle/style_bits.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

// A truncated coordinate would pop the menu up somewhere else.
TEST(StyleBits, PointPacksYHighAndXLowAsTwosComplementWordsAndOnlyWhatFitsNarrows) {
    EXPECT_EQ(packPointLParam(-5, 10), 0x000AFFFBu);
    EXPECT_EQ(packPointLParam(-32768, 32767), 0x7FFF8000u);
    for (const std::int32_t fits : {-32768, 32767}) EXPECT_EQ(narrowScreenCoordinate(fits), fits);
    for (const std::int32_t overflows : {32768, -32769})
        EXPECT_EQ(narrowScreenCoordinate(overflows), std::nullopt);
}

}  // namespace
}  // namespace tapkeys
