#include "winstyle/style_bits.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

TEST(StyleBits, PointPacksYHighAndXLowAsTwosComplementWordsAndOnlyWhatFitsNarrows) {
    const std::tuple<std::int16_t, std::int16_t, std::uint32_t> points[] = {
        {-5, 10, 0x000AFFFBu}, {10, -5, 0xFFFB000Au}, {-32768, 32767, 0x7FFF8000u}, {-1, -1, 0xFFFFFFFFu}};
    for (const auto& [x, y, packed] : points) EXPECT_EQ(packPointLParam(x, y), packed) << x << ", " << y;
    for (const std::int32_t fits : {-32768, 32767, -5}) EXPECT_EQ(narrowScreenCoordinate(fits), fits);
    for (const std::int32_t overflows : {32768, -32769, 40000, INT32_MIN}) {
        EXPECT_EQ(narrowScreenCoordinate(overflows), std::nullopt) << overflows;
    }
}

}  // namespace
}  // namespace tapkeys
