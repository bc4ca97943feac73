#include "keyboard/layout_scale.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

std::string nameOf(HitTarget t) {
    if (t.kind != HitTarget::Kind::Label) return t.kind == HitTarget::Kind::Logo ? "logo" : "background";
    return std::to_string(int(t.label->control)) + "(" + std::to_string(t.label->index) + ")";
}
std::string nameOf(Control control, int index) {
    return std::to_string(int(control)) + "(" + std::to_string(index) + ")";
}

// Columns and rows shared by two frames go to the later one, a special key beats a character key, the
// close button beats the options button, a caption lies above its frame; at 144 dpi every label grows
// by half and keeps its stacking order.
TEST(LayoutTest, PressesReachTheUppermostLabelAndSeamsGoToTheLaterOne) {
    using enum Control;
    // clang-format off
    const std::tuple<int, int, std::string> presses[] = {
        {96, 50, nameOf(KeyBG, 1)}, {95, 50, nameOf(KeyBG, 0)}, {100, 88, nameOf(KeyBG, 12)}, {100, 87, nameOf(KeyBG, 1)},
        {56, 60, nameOf(Esc, 1)}, {584, 30, nameOf(Close, 1)}, {583, 30, nameOf(Options, 1)}, {70, 60, nameOf(Key, 0)},
        {60, 50, nameOf(KeyBG, 0)}, {580, 130, nameOf(Return, 2)}, {620, 150, nameOf(Return, 3)},
        {620, 100, nameOf(Return, 1)}, {300, 20, "background"}, {3, 100, "background"}, {626, 100, "background"},
        {300, 212, "background"}, {20, 20, "logo"}};
    // clang-format on
    for (const auto& [x, y, expected] : presses) {
        EXPECT_EQ(nameOf(LayoutScale{96}.hitTest(x, y)), expected) << x << "," << y;
        EXPECT_EQ(nameOf(LayoutScale{144}.hitTest(x * 3 / 2, y * 3 / 2)), expected)
            << x << "," << y << " at 144 dpi";
    }
    // The frames tile the key block from (8, 48) up to (625, 209) without a gap.
    for (int y = 48; y < 209; ++y) {
        for (int x = 8; x < 625; ++x)
            ASSERT_EQ(LayoutScale{96}.hitTest(x, y).kind, HitTarget::Kind::Label) << x << "," << y;
    }
}

}  // namespace
}  // namespace tapkeys
