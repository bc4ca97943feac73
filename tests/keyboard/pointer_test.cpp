#include "keyboard/layout_scale.h"
#include "keyboard/touch_router.h"

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
// close button beats the options button, a caption lies above its frame; at 144 dpi, or at a size of
// 150 % at 96 dpi, every label grows by half and keeps its stacking order.
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
        for (const LayoutScale& larger : {LayoutScale{144}, LayoutScale{96, 150}})
            EXPECT_EQ(nameOf(larger.hitTest(x * 3 / 2, y * 3 / 2)), expected)
                << x << "," << y << " at " << larger.monitorDpi() << " dpi, " << larger.sizePercent() << " %";
    }
    // The size multiplies the monitor's scale: 150 % at 144 dpi is 2.25 times the 96-dpi window.
    const std::tuple<LayoutScale, int, int> windows[] = {{LayoutScale{96, 150}, 948, 325},
                                                         {LayoutScale{144, 150}, 1422, 488},
                                                         {LayoutScale{96, 300}, 1896, 651}};
    for (const auto& [scale, width, height] : windows)
        EXPECT_EQ(std::pair(scale.windowWidth(), scale.windowHeight()), std::pair(width, height))
            << scale.dpi();
    // The frames tile the key block from (8, 48) up to (625, 209) without a gap.
    for (int y = 48; y < 209; ++y)
        for (int x = 8; x < 625; ++x)
            ASSERT_EQ(LayoutScale{96}.hitTest(x, y).kind, HitTarget::Kind::Label) << x << "," << y;
}

using Message = TouchRouter::Message;
using Kind = TouchRouter::Action::Kind;

HitTarget on(Control control, int index) {
    return {HitTarget::Kind::Label, findLabel(control, index)};
}

// Two fingers on two keys both press; a finger on Shift presses it like any key; the mouse, pens, the
// buttons and the drag band go on to the mouse messages, and so do their lifts.
TEST(TouchRouter, FingersOnKeysPressAtTouchDownAndEverythingElsePassesOn) {
    const HitTarget shift = on(Control::Shift, 1), key = on(Control::Key, 5), close = on(Control::Close, 0);
    const HitTarget band{}, logo{HitTarget::Kind::Logo, nullptr};
    // A message, the pointer, whether it is a finger, what lies under it, what the router does.
    using enum Message;
    // clang-format off
    const std::tuple<Message, std::uint32_t, bool, HitTarget, TouchRouter::Action> steps[] = {
        {Down, 2, true, shift, {Kind::Press, shift.label}}, {Down, 3, true, key, {Kind::Press, key.label}},
        {Update, 3, true, on(Control::KeyBG, 5), {Kind::None, nullptr}},  // the same key
        {Up, 3, true, key, {Kind::Release, nullptr}},
        {Update, 2, true, key, {Kind::Release, nullptr}},  // slid off Shift: let go once
        {Update, 2, true, shift, {Kind::None, nullptr}}, {Up, 2, true, band, {Kind::None, nullptr}},
        {Up, 2, true, shift, {}},  // lifted: no longer taken
        {Down, 7, true, key, {Kind::Press, key.label}}, {Lost, 7, true, key, {Kind::Release, nullptr}},
        {Up, 7, true, key, {}}, {Down, 1, false, key, {}}, {Up, 1, false, key, {}},  // the mouse
        {Down, 4, true, close, {}}, {Down, 5, true, band, {}}, {Down, 6, true, logo, {}}, {Up, 4, true, close, {}}};
    // clang-format on
    TouchRouter router;
    for (const auto& [message, pointer, touch, hit, expected] : steps)
        EXPECT_EQ(router.route(message, pointer, touch, hit), expected) << "pointer " << pointer;
    const std::pair<HitTarget, bool> activates[] = {
        {key, false}, {shift, false}, {close, true}, {on(Control::Options, 1), true}, {band, true}};
    for (const auto& [hit, expected] : activates) EXPECT_EQ(pressActivates(hit), expected);
}

}  // namespace
}  // namespace tapkeys
