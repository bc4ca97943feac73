#include "keyboard/layout.h"
#include "keyboard/layout_scale.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

constexpr int kTpp = kTwipsPerPixelAt96Dpi;

// The label a press at pixel (x, y) reaches.
HitTarget at(int x, int y) { return hitTest(x * kTpp, y * kTpp); }

::testing::AssertionResult hits(HitTarget t, Control control, int index) {
    if (t.kind != HitTarget::Kind::Label) return ::testing::AssertionFailure() << "no label there";
    if (t.label->control != control || t.label->index != index) {
        return ::testing::AssertionFailure() << "hit control " << int(t.label->control) << "(" << int(t.label->index)
                                             << ")";
    }
    return ::testing::AssertionSuccess();
}

TEST(LayoutTest, EveryControlOfTheWindowIsInTheTableOnce) {
    int keys = 0, frames = 0;
    for (const Label& l : kLayout) {
        keys += l.control == Control::Key;
        frames += l.control == Control::KeyBG;
        EXPECT_EQ(findLabel(l.control, l.index), &l);
    }
    EXPECT_EQ(keys, kCharacterKeyCount);
    EXPECT_EQ(frames, kCharacterKeyCount);
    EXPECT_NE(findLabel(Control::Return, 3), nullptr);
    EXPECT_EQ(findLabel(Control::Return, 4), nullptr);
}

TEST(LayoutTest, KeyRowsSitAtTheirPitch) {
    const Label* first = findLabel(Control::Key, 0);
    const Label* second = findLabel(Control::Key, 1);
    const Label* row2 = findLabel(Control::Key, 12);
    const Label* last = findLabel(Control::Key, 46);
    EXPECT_EQ(first->rect.left, 960);
    EXPECT_EQ(second->rect.left - first->rect.left, 600);
    EXPECT_EQ(row2->rect.top - first->rect.top, 600);
    EXPECT_EQ(last->rect.left, 1200 + 600 * 10);
    const Label* frame = findLabel(Control::KeyBG, 0);
    EXPECT_EQ(frame->rect.left, first->rect.left - 120);
    EXPECT_EQ(frame->rect.width, 615);
}

TEST(LayoutTest, SeamsGoToTheUppermostLabel) {
    // Pixel column 96 is the last of KeyBG(0) and the first of KeyBG(1): the higher index wins.
    EXPECT_TRUE(hits(at(96, 50), Control::KeyBG, 1));
    EXPECT_TRUE(hits(at(95, 50), Control::KeyBG, 0));
    // Row seam: pixel row 88 is shared by KeyBG(1) above and KeyBG(12) below.
    EXPECT_TRUE(hits(at(100, 88), Control::KeyBG, 12));
    EXPECT_TRUE(hits(at(100, 87), Control::KeyBG, 1));
    // A special key beats a character key: Esc's frame ends at pixel 56, where KeyBG(0) begins.
    EXPECT_TRUE(hits(at(56, 60), Control::Esc, 1));
    // The close button beats the options button on their seam (pixel 584).
    EXPECT_TRUE(hits(at(584, 30), Control::Close, 1));
    EXPECT_TRUE(hits(at(583, 30), Control::Options, 1));
}

TEST(LayoutTest, CaptionLabelsLieAboveTheirFrames) {
    EXPECT_TRUE(hits(at(70, 60), Control::Key, 0));
    EXPECT_TRUE(hits(at(60, 50), Control::KeyBG, 0));
    EXPECT_TRUE(hits(at(580, 130), Control::Return, 2));
    EXPECT_TRUE(hits(at(620, 150), Control::Return, 3));
    EXPECT_TRUE(hits(at(620, 100), Control::Return, 1));
}

TEST(LayoutTest, BackgroundShowsOnlyOutsideTheKeyBlockAndTheButtons) {
    EXPECT_EQ(at(300, 20).kind, HitTarget::Kind::Background);  // top band
    EXPECT_EQ(at(3, 100).kind, HitTarget::Kind::Background);    // left margin
    EXPECT_EQ(at(626, 100).kind, HitTarget::Kind::Background);  // right margin
    EXPECT_EQ(at(300, 212).kind, HitTarget::Kind::Background);  // bottom margin
    EXPECT_EQ(at(20, 20).kind, HitTarget::Kind::Logo);
    // The frames tile the block from (8, 48) up to (625, 209) without a gap.
    for (int y = 48; y < 209; ++y) {
        for (int x = 8; x < 625; ++x) {
            ASSERT_EQ(at(x, y).kind, HitTarget::Kind::Label) << x << "," << y;
        }
    }
}

// At 96 dpi the pixel hit-test is the twips hit-test; at 144 dpi every label grows by half and keeps
// its stacking order.
TEST(LayoutScaleTest, PixelHitTestAgreesWithTheTableAtEveryDensity) {
    const LayoutScale at96{96};
    for (int y = 0; y < at96.windowHeight(); y += 3) {
        for (int x = 0; x < at96.windowWidth(); x += 3) {
            const HitTarget a = at96.hitTest(x, y), b = at(x, y);
            ASSERT_EQ(a.kind, b.kind) << x << "," << y;
            ASSERT_EQ(a.label, b.label) << x << "," << y;
        }
    }
    const LayoutScale at144{144};
    EXPECT_EQ(at144.windowWidth(), 948);
    EXPECT_EQ(at144.windowHeight(), 325);
    const Label* key = findLabel(Control::Key, 20);
    const PixelRect r = at144.toPixels(key->rect);
    EXPECT_TRUE(hits(at144.hitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2), Control::Key, 20));
    EXPECT_TRUE(hits(at144.hitTest(96 * 3 / 2, 50 * 3 / 2), Control::KeyBG, 1));
}

}  // namespace
}  // namespace tapkeys
