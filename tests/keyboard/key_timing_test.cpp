#include "keyboard/key_timing.h"
#include "keyboard/press_tracker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tapkeys {
namespace {

using enum Control;
constexpr KeyId k5{Key, 5}, k6{Key, 6}, shift{Shift, 0}, closeButton{Close, 0}, opts{Options, 0},
    none{Esc, 99};

std::string name(KeyId key) {
    if (key.control == Key) return std::string("k").append(std::to_string(key.index));
    return key.control == Shift     ? "shift"
           : key.control == Close   ? "close"
           : key.control == Options ? "opts"
                                    : "?";
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

std::optional<KeyId> under(const Step& step) {
    return step.key == none ? std::nullopt : std::optional{step.key};
}

std::string fired(const std::vector<KeyTiming::Fired>& actions) {
    std::string out;
    for (const KeyTiming::Fired& f : actions) {
        const char* what[] = {"repeat ", "dwell ", "click "};
        out.append(what[static_cast<int>(f.action)]).append(name(f.key)).append(" ");
    }
    return out;
}

std::string lit(const std::vector<KeyTiming::Light>& lights) {
    std::string out = "lit:";
    for (const KeyTiming::Light& l : lights) out += name(l.key) + "*" + std::to_string(l.level) + " ";
    return out;
}

std::string run(KeyTiming& timing, const Step& step) {
    if (step.op == 'P') timing.press(step.pointer, step.key, step.key.control != Shift, step.at);
    if (step.op == 'R') timing.release(step.pointer);
    if (step.op == 'M') timing.move(under(step), {step.x, step.y}, step.at);
    std::string out = fired(step.op == 'T' ? timing.tick(step.at) : std::vector<KeyTiming::Fired>{});
    out += lit(timing.lights(step.at));
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

// The window's side of a press, one step at a time: P a press begins and starts typing ("joins": a
// dwell of its key is typing it already), B a repeat or a dwell (of key) starts typing, D the innermost
// typing ends and what waited runs, R release over key, L lost capture, O a modal dialog opens or the
// keyboard closes, T the timer fires, M move. After each: the actions run, the sources still down, the
// lit keys and how the one-shot timer changes.
std::string run(PressTracker& presses, const Step& step) {
    using Kind = PressTracker::Kind;
    std::vector<KeyTiming::Fired> acted;
    const Kind kind = step.key == opts ? Kind::Clicks : step.key == shift ? Kind::Types : Kind::Repeats;
    std::string out =
        step.op == 'P' && !presses.press(step.pointer, step.key, kind, step.at).types ? "joins " : "";
    if (step.op == 'P' || step.op == 'B') presses.typingBegins(step.op == 'B' ? under(step) : std::nullopt);
    if (step.op == 'D') presses.typingEnds(), acted = presses.due(step.at);
    if (step.op == 'R') presses.release(step.pointer, under(step));
    if (step.op == 'L') presses.lost(step.pointer);
    if (step.op == 'O') presses.endAll(step.at);
    if (step.op == 'T') acted = presses.tick(step.at);
    if (step.op == 'M') presses.move(under(step), {step.x, step.y}, step.at);
    out += fired(acted) + "held:";
    for (const int source : {0, 7, 8})
        if (presses.holds(source)) out += source == 0 ? "m " : std::to_string(source) + " ";
    out += lit(presses.lights(step.at));
    const PressTracker::Timer timer = presses.timer(step.at);
    const char* change[] = {"keep", "stop", "arm "};
    out += change[static_cast<int>(timer.change)];
    return timer.change == PressTracker::Timer::Change::Arm ? out + std::to_string(timer.wait) : out;
}

// Presses, releases and ticks nested inside the sending of a key (safe mode's pauses run messages).
TEST(PressTracker, EveryPressEndsOnceAndTimersWaitForTheTyping) {
    const ExtrasSettings repeat{.repeatDelay = 250, .repeatRate = 30}, dwell{.dwellTime = 600};
    constexpr int f7 = 7, f8 = 8;  // fingers
    // clang-format off
    const std::tuple<const char*, ExtrasSettings, std::vector<Step>> scripts[] = {
        {"two quick taps inside the first one's pauses: neither stays held", repeat, {
            {0, 'P', "held:m lit:k5*4 arm 250", k5}, {5, 'R', "held:lit:k5*4 arm 75"},
            {8, 'P', "held:m lit:k6*4 arm 250", k6}, {12, 'R', "held:lit:k6*4 arm 76"},
            {30, 'D', "held:lit:k6*4 keep"}, {40, 'D', "held:lit:k6*4 keep"}, {88, 'T', "held:lit:keep"}}},
        {"a click on the options button inside a key's pause clicks after the key", {}, {
            {0, 'P', "held:m lit:k5*4 keep", k5}, {3, 'R', "held:lit:k5*4 arm 77"},
            {5, 'P', "held:m lit:opts*4 stop", opts}, {8, 'R', "held:lit:opts*4 arm 77", opts},
            {30, 'D', "held:lit:opts*4 keep"}, {31, 'D', "click opts held:lit:opts*4 keep"},
            {32, 'P', "held:m lit:opts*4 stop", opts}, {33, 'D', "held:m lit:opts*4 keep"},
            {40, 'R', "held:lit:opts*4 arm 72", k5}}},
        {"a finger lifted, or a second one landing and lifting, while its key types", repeat, {
            {0, 'P', "held:7 lit:k5*4 arm 250", k5, 0, 0, f7}, {5, 'P', "held:7 8 lit:k5*4 k6*4 keep", k6, 0, 0, f8},
            {9, 'R', "held:7 lit:k5*4 k6*4 arm 76", none, 0, 0, f8}, {10, 'R', "held:lit:k5*4 k6*4 arm 70", none, 0, 0, f7},
            {20, 'D', "held:lit:k5*4 k6*4 keep"}, {30, 'D', "held:lit:k5*4 k6*4 keep"}, {300, 'T', "held:lit:keep"}}},
        {"a lost capture, a mouse's or a finger's, ends the press without a click", repeat, {
            {0, 'P', "held:m lit:k5*4 arm 250", k5}, {5, 'L', "held:lit:k5*4 arm 75"},
            {20, 'D', "held:lit:k5*4 keep"}, {100, 'P', "held:7 lit:k6*4 arm 250", k6, 0, 0, f7},
            {110, 'D', "held:7 lit:k6*4 keep"}, {120, 'L', "held:lit:k6*4 arm 60", none, 0, 0, f7},
            {130, 'P', "held:m lit:k6*4 opts*4 keep", opts}, {140, 'L', "held:lit:k6*4 opts*4 keep"},
            {150, 'D', "held:lit:k6*4 opts*4 keep"}, {300, 'T', "held:lit:keep"}}},
        {"a modal dialog ends every press: no repeat types into the dialog", repeat, {
            {0, 'P', "held:7 lit:k5*4 arm 250", k5, 0, 0, f7}, {10, 'D', "held:7 lit:k5*4 keep"},
            {20, 'P', "held:m 7 lit:k5*4 opts*4 keep", opts}, {30, 'O', "held:lit:k5*4 opts*4 arm 50"},
            {31, 'D', "held:lit:k5*4 opts*4 keep"}, {80, 'T', "held:lit:opts*4 arm 20"}, {300, 'T', "held:lit:keep"}}},
        {"a repeat due inside the previous repeat's typing waits for it and types once", repeat, {
            {0, 'P', "held:m lit:k5*4 arm 250", k5}, {1, 'D', "held:m lit:k5*4 keep"},
            {249, 'T', "held:m lit:k5*4 arm 1"}, {250, 'T', "repeat k5 held:m lit:k5*4 arm 33"},
            {251, 'B', "held:m lit:k5*4 keep"}, {283, 'T', "held:m lit:k5*4 keep"},
            {300, 'D', "repeat k5 held:m lit:k5*4 arm 16"}}},
        {"a click as the dwell on its key completes types that key once, either way round", dwell, {
            {0, 'M', "held:lit:arm 150", k5}, {590, 'P', "held:m lit:k5*4 stop", k5}, {600, 'T', "held:m lit:k5*4 keep"},
            {620, 'D', "held:m lit:k5*4 keep"}, {630, 'R', "held:lit:k5*4 arm 40"}, {700, 'M', "held:lit:arm 150", k6},
            {1300, 'T', "dwell k6 held:lit:k6*4 arm 80"}, {1301, 'B', "held:lit:k6*4 keep", k6},
            {1302, 'P', "joins held:m lit:k6*4 keep", k6}, {1303, 'R', "held:lit:k6*4 keep"},
            {1320, 'D', "held:lit:k6*4 keep"}, {1330, 'D', "held:lit:k6*4 keep"}, {1400, 'T', "held:lit:keep"}}},
    };
    // clang-format on
    for (const auto& [script, extras, steps] : scripts) {
        PressTracker presses;
        presses.configure(extras);
        for (const Step& step : steps)
            EXPECT_EQ(run(presses, step), step.expected) << script << ", at " << step.at << " " << step.op;
    }
}

}  // namespace
}  // namespace tapkeys
