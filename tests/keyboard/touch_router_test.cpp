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
        {Down, 1, false, key, {}}, {Up, 1, false, key, {}},  // the mouse
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
