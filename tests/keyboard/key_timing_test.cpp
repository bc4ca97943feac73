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
// what tick fired, the lit keys with their levels, and the next deadline ("-" none).
struct Step {
    KeyTiming::Ms at;
    char op;
    KeyId key = none;  // none: over no key
    int x = 0, y = 0;
    int pointer = KeyTiming::kMousePointer;
    bool repeatable = true;
    const char* expected = "";
};

std::string run(KeyTiming& timing, const Step& step) {
    std::string out;
    const std::optional<KeyId> under = step.key == none ? std::nullopt : std::optional{step.key};
    switch (step.op) {
        case 'P': timing.press(step.pointer, step.key, step.repeatable, step.at); break;
        case 'R': timing.release(step.pointer); break;
        case 'M': timing.move(under, {step.x, step.y}, step.at); break;
        case 'T':
            for (const KeyTiming::Fired& f : timing.tick(step.at))
                out.append(f.action == KeyTiming::Action::Repeat ? "repeat " : "dwell ")
                    .append(name(f.key))
                    .append(" ");
            break;
    }
    out += "lit:";
    for (const KeyTiming::Light& l : timing.lights(step.at))
        out += name(l.key) + "*" + std::to_string(l.level) + " ";
    const auto next = timing.nextDeadline(step.at);
    return out.append("next:").append(next ? std::to_string(*next) : "-");
}

struct Script {
    const char* name;
    ExtrasSettings extras;
    std::vector<Step> steps;
};

TEST(KeyTiming, PressesLightRepeatAndDwellOnTime) {
    const ExtrasSettings defaults;
    const ExtrasSettings repeat{.repeatDelay = 500, .repeatRate = 10};
    const ExtrasSettings dwell{.keyFeedback = false, .dwellTime = 600};
    // clang-format off
    const Script scripts[] = {
        {"a held key is lit and types once; a short press stays lit 80 ms", defaults, {
            {0, 'P', k5, 0, 0, 0, true, "lit:k5*4 next:-"},
            {1500, 'T', none, 0, 0, 0, true, "lit:k5*4 next:-"},
            {1510, 'R', none, 0, 0, 0, true, "lit:next:-"},
            {2000, 'P', k6, 0, 0, 0, true, "lit:k6*4 next:-"},
            {2010, 'R', none, 0, 0, 0, true, "lit:k6*4 next:2080"},
            {2080, 'T', none, 0, 0, 0, true, "lit:next:-"}}},
        {"two fingers light two keys; each release puts out its own", defaults, {
            {0, 'P', k5, 0, 0, 7, true, "lit:k5*4 next:-"},
            {10, 'P', shift, 0, 0, 8, false, "lit:k5*4 shift*4 next:-"},
            {200, 'R', none, 0, 0, 7, true, "lit:shift*4 next:-"}}},
        {"no feedback when it is off", {.keyFeedback = false}, {
            {0, 'P', k5, 0, 0, 0, true, "lit:next:-"}}},
        {"repeat after the delay, then at the rate, until release", repeat, {
            {0, 'P', k5, 0, 0, 0, true, "lit:k5*4 next:500"},
            {500, 'T', none, 0, 0, 0, true, "repeat k5 lit:k5*4 next:600"},
            {600, 'T', none, 0, 0, 0, true, "repeat k5 lit:k5*4 next:700"},
            // A late tick types once and does not catch up.
            {950, 'T', none, 0, 0, 0, true, "repeat k5 lit:k5*4 next:1050"},
            {1000, 'R', none, 0, 0, 0, true, "lit:next:-"},
            {2000, 'T', none, 0, 0, 0, true, "lit:next:-"}}},
        {"leaving the held key stops the repeat; Shift never repeats", repeat, {
            {0, 'P', k5, 0, 0, 0, true, "lit:k5*4 next:500"},
            {300, 'M', k5, 3, 3, 0, true, "lit:k5*4 next:500"},
            {400, 'M', k6, 50, 3, 0, true, "lit:next:-"},
            {1000, 'P', shift, 0, 0, 0, false, "lit:shift*4 next:-"},
            {2000, 'T', none, 0, 0, 0, false, "lit:shift*4 next:-"}}},
        {"dwell steps up, ignores tremor, types once, and again only after leaving", dwell, {
            {0, 'M', k5, 10, 10, 0, true, "lit:next:150"},
            {150, 'T', none, 0, 0, 0, true, "lit:k5*1 next:300"},
            {200, 'M', k5, 13, 6, 0, true, "lit:k5*1 next:300"},
            {450, 'T', none, 0, 0, 0, true, "lit:k5*3 next:600"},
            {600, 'T', none, 0, 0, 0, true, "dwell k5 lit:next:-"},
            {2000, 'M', k5, 11, 11, 0, true, "lit:next:-"},
            {2100, 'M', k6, 50, 10, 0, true, "lit:next:2250"},
            {2700, 'T', none, 0, 0, 0, true, "dwell k6 lit:next:-"},
            {2800, 'M', k5, 10, 10, 0, true, "lit:next:2950"},
            // A move beyond a tremor starts the time again.
            {3000, 'M', k5, 20, 10, 0, true, "lit:next:3150"},
            {3500, 'T', none, 0, 0, 0, true, "lit:k5*3 next:3600"},
            {3550, 'M', none, 0, 0, 0, true, "lit:next:-"}}},
        {"the close button takes no dwell; a press ends the dwell on its key", dwell, {
            {0, 'M', closeButton, 5, 5, 0, true, "lit:next:-"},
            {5000, 'T', none, 0, 0, 0, true, "lit:next:-"},
            {5100, 'M', k5, 10, 10, 0, true, "lit:next:5250"},
            {5200, 'P', k5, 10, 10, 0, true, "lit:next:-"},
            {5300, 'R', none, 0, 0, 0, true, "lit:next:-"},
            {9000, 'T', none, 0, 0, 0, true, "lit:next:-"}}},
    };
    // clang-format on
    for (const Script& script : scripts) {
        KeyTiming timing;
        timing.configure(script.extras);
        for (const Step& step : script.steps)
            EXPECT_EQ(run(timing, step), step.expected)
                << script.name << ", at " << step.at << " " << step.op;
    }
}

}  // namespace
}  // namespace tapkeys
