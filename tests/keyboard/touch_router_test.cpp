#include "keyboard/touch_router.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

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
    const struct {
        Message message;
        std::uint32_t pointer;
        bool touch;
        HitTarget hit;
        TouchRouter::Action expected;
    } steps[] = {
        {Message::Down, 2, true, shift, {Kind::Press, shift.label}},
        {Message::Down, 3, true, key, {Kind::Press, key.label}},
        {Message::Update, 3, true, on(Control::KeyBG, 5), {Kind::None, nullptr}},  // the same key
        {Message::Up, 3, true, key, {Kind::Release, nullptr}},
        {Message::Update, 2, true, key, {Kind::Release, nullptr}},  // slid off Shift: let go once
        {Message::Update, 2, true, shift, {Kind::None, nullptr}},
        {Message::Up, 2, true, band, {Kind::None, nullptr}},
        {Message::Up, 2, true, shift, {}},   // lifted: no longer taken
        {Message::Down, 1, false, key, {}},  // the mouse
        {Message::Up, 1, false, key, {}},
        {Message::Down, 4, true, close, {}},
        {Message::Down, 5, true, band, {}},
        {Message::Down, 6, true, logo, {}},
        {Message::Up, 4, true, close, {}},
    };
    TouchRouter router;
    for (const auto& step : steps) {
        EXPECT_EQ(router.route(step.message, step.pointer, step.touch, step.hit), step.expected)
            << "pointer " << step.pointer;
    }
    EXPECT_FALSE(pressActivates(key));
    EXPECT_FALSE(pressActivates(shift));
    EXPECT_TRUE(pressActivates(close));
    EXPECT_TRUE(pressActivates(on(Control::Options, 1)));
    EXPECT_TRUE(pressActivates(band));
}

}  // namespace
}  // namespace tapkeys
