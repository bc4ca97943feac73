#include "keyboard/key_timing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tapkeys {
namespace {

using enum Control;
constexpr KeyId k5{Key, 5}, k6{Key, 6}, shift{Shift, 0}, closeButton{Close, 0}, none{Esc, 99};

std::string name(KeyId key) {
    if (key.control == Key) return std::string("k").append(std::to_string(key.index));
    return key.control == Shift ? "shift" : key.control == Close ? "close" : "?";
}

// One step of a script: at a time, an input (P press, R release, M move, T tick) and what follows it:
// what tick fired, the lit keys with their levels, and the next deadline ("-" none). Shift is pressed as
// the window presses it, not repeatable.
struct Step {
    KeyTiming::Ms at;
    char op;
    const char* expected;
    KeyId key = none;  // none: over no key
    int x = 0, y = 0, pointer = KeyTiming::kMousePointer;
};

std::string run(KeyTiming& timing, const Step& step) {
    std::string out;
    const std::optional<KeyId> under = step.key == none ? std::nullopt : std::optional{step.key};
    if (step.op == 'P') timing.press(step.pointer, step.key, step.key.control != Shift, step.at);
    if (step.op == 'R') timing.release(step.pointer);
    if (step.op == 'M') timing.move(under, {step.x, step.y}, step.at);
    for (const KeyTiming::Fired& f : step.op == 'T' ? timing.tick(step.at) : std::vector<KeyTiming::Fired>{})
        out.append(f.action == KeyTiming::Action::Repeat ? "repeat " : "dwell ")
            .append(name(f.key))
            .append(" ");
    out += "lit:";
    for (const KeyTiming::Light& l : timing.lights(step.at))
        out += name(l.key) + "*" + std::to_string(l.level) + " ";
    const auto next = timing.nextDeadline(step.at);
    return out.append("next:").append(next ? std::to_string(*next) : "-");
}

TEST(KeyTiming, PressesLightRepeatAndDwellOnTime) {
    const ExtrasSettings repeat{.repeatDelay = 500, .repeatRate = 10};
    const ExtrasSettings dwell{.keyFeedback = false, .dwellTime = 600};
    // clang-format off
    const std::tuple<const char*, ExtrasSettings, std::vector<Step>> scripts[] = {
        {"a held key is lit and types once; a short press stays lit 80 ms", {}, {
            {0, 'P', "lit:k5*4 next:-", k5}, {1500, 'T', "lit:k5*4 next:-"}, {1510, 'R', "lit:next:-"},
            {2000, 'P', "lit:k6*4 next:-", k6}, {2010, 'R', "lit:k6*4 next:2080"}, {2080, 'T', "lit:next:-"}}},
        {"two fingers light two keys; each release puts out its own", {}, {
            {0, 'P', "lit:k5*4 next:-", k5, 0, 0, 7}, {10, 'P', "lit:k5*4 shift*4 next:-", shift, 0, 0, 8},
            {200, 'R', "lit:shift*4 next:-", none, 0, 0, 7}}},
        {"no feedback when it is off", {.keyFeedback = false}, {{0, 'P', "lit:next:-", k5}}},
        {"repeat after the delay, then at the rate, until release; a late tick types once", repeat, {
            {0, 'P', "lit:k5*4 next:500", k5}, {500, 'T', "repeat k5 lit:k5*4 next:600"},
            {600, 'T', "repeat k5 lit:k5*4 next:700"}, {950, 'T', "repeat k5 lit:k5*4 next:1050"},
            {1000, 'R', "lit:next:-"}, {2000, 'T', "lit:next:-"}}},
        {"leaving the held key stops the repeat; Shift never repeats", repeat, {
            {0, 'P', "lit:k5*4 next:500", k5}, {300, 'M', "lit:k5*4 next:500", k5, 3, 3},
            {400, 'M', "lit:next:-", k6, 50, 3}, {1000, 'P', "lit:shift*4 next:-", shift},
            {2000, 'T', "lit:shift*4 next:-"}}},
        {"dwell steps up, ignores tremor, types once, again only after leaving; a move restarts it", dwell, {
            {0, 'M', "lit:next:150", k5, 10, 10}, {150, 'T', "lit:k5*1 next:300"},
            {200, 'M', "lit:k5*1 next:300", k5, 13, 6}, {450, 'T', "lit:k5*3 next:600"},
            {600, 'T', "dwell k5 lit:next:-"}, {2000, 'M', "lit:next:-", k5, 11, 11},
            {2100, 'M', "lit:next:2250", k6, 50, 10}, {2700, 'T', "dwell k6 lit:next:-"},
            {2800, 'M', "lit:next:2950", k5, 10, 10}, {3000, 'M', "lit:next:3150", k5, 20, 10},
            {3500, 'T', "lit:k5*3 next:3600"}, {3550, 'M', "lit:next:-"}}},
        {"the close button takes no dwell; a press ends the dwell on its key", dwell, {
            {0, 'M', "lit:next:-", closeButton, 5, 5}, {5000, 'T', "lit:next:-"},
            {5100, 'M', "lit:next:5250", k5, 10, 10}, {5200, 'P', "lit:next:-", k5, 10, 10},
            {5300, 'R', "lit:next:-"}, {9000, 'T', "lit:next:-"}}},
    };
    // clang-format on
    for (const auto& [script, extras, steps] : scripts) {
        KeyTiming timing;
        timing.configure(extras);
        for (const Step& step : steps)
            EXPECT_EQ(run(timing, step), step.expected) << script << ", at " << step.at << " " << step.op;
    }
}

}  // namespace
}  // namespace tapkeys
