#include "keyboard/layout.h"
#include "keyboard/layout_scale.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

// The label a press at pixel (x, y) reaches at 96 dpi.
HitTarget at(int x, int y) {
    return LayoutScale{96}.hitTest(x, y);
}

::testing::AssertionResult hits(HitTarget t, Control control, int index) {
    if (t.kind != HitTarget::Kind::Label) return ::testing::AssertionFailure() << "no label there";
    if (t.label->control == control && t.label->index == index) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "hit control " << int(t.label->control) << "(" << t.label->index << ")";
}

TEST(LayoutTest, PressesReachTheUppermostLabelAndSeamsGoToTheLaterOne) {
    // Columns and rows shared by two frames go to the later one, a special key beats a character key, the
    // close button beats the options button, a caption lies above its frame.
    // clang-format off
    const std::tuple<int, int, Control, int> presses[] = {
        {96, 50, Control::KeyBG, 1}, {95, 50, Control::KeyBG, 0}, {100, 88, Control::KeyBG, 12},
        {100, 87, Control::KeyBG, 1}, {56, 60, Control::Esc, 1}, {584, 30, Control::Close, 1},
        {583, 30, Control::Options, 1}, {70, 60, Control::Key, 0}, {60, 50, Control::KeyBG, 0},
        {580, 130, Control::Return, 2}, {620, 150, Control::Return, 3}, {620, 100, Control::Return, 1}};
    // clang-format on
    for (const auto& [x, y, control, index] : presses)
        EXPECT_TRUE(hits(at(x, y), control, index)) << x << "," << y;
}

TEST(LayoutTest, BackgroundShowsOnlyOutsideTheKeyBlockAndTheButtons) {
    for (const auto& [x, y] : {std::pair{300, 20}, {3, 100}, {626, 100}, {300, 212}}) {
        EXPECT_EQ(at(x, y).kind, HitTarget::Kind::Background) << x << "," << y;
    }
    EXPECT_EQ(at(20, 20).kind, HitTarget::Kind::Logo);
    // The frames tile the block from (8, 48) up to (625, 209) without a gap.
    for (int y = 48; y < 209; ++y) {
        for (int x = 8; x < 625; ++x) ASSERT_EQ(at(x, y).kind, HitTarget::Kind::Label) << x << "," << y;
    }
}

// At 144 dpi every label grows by half and keeps its stacking order.
TEST(LayoutScaleTest, PixelHitTestFollowsTheDensity) {
    const LayoutScale at144{144};
    EXPECT_EQ(at144.windowWidth(), 948);
    EXPECT_EQ(at144.windowHeight(), 325);
    const PixelRect r = at144.toPixels(findLabel(Control::Key, 20)->rect);
    EXPECT_TRUE(hits(at144.hitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2), Control::Key, 20));
    EXPECT_TRUE(hits(at144.hitTest(96 * 3 / 2, 50 * 3 / 2), Control::KeyBG, 1));
}

}  // namespace
}  // namespace tapkeys
