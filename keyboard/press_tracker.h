#pragma once
// Who is pressing what, and what has to wait for it. One record per press, by its source (the mouse, a
// finger, later a scanning switch or an accessibility action), registered before the press's keystrokes
// go out and ended by its release, a lost capture, a modal dialog or the keyboard closing. The sending
// of a key runs messages (the hand-back wait, safe mode's pauses), so presses, releases and timer ticks
// arrive nested inside it at any depth; each press keeps its own state, and the repeats, dwells and
// clicks that come due while anything is typing wait until the outermost typing has finished.
// Platform-free: times are milliseconds of a steady clock, the window turns messages into these calls.
//
// The window's part, for any kind of press:
//   const auto press = tracker.press(source, key, kind, now);   // before the keystrokes
//   tracker.typingBegins(); if (press.types) send(key); tracker.typingEnds();
//   for (action : tracker.due(now)) act(action);                 // what waited, once
//   ... tracker.release(source, keyUnder) / lost(source) / endAll(now) when it is let go.
// Sources: kMouse (0), a finger's pointer id + 1; a new kind of press takes ids below -1 (-1 marks the
// flash of a dwell). The window's one-shot timer is armed as timer(now) says after every change and
// calls tick(now) when it fires.

#include <cstdint>
#include <optional>
#include <vector>

#include "keyboard/key_timing.h"
#include "win32/steady_clock.h"

namespace tapkeys {

class PressTracker {
public:
    using Ms = KeyTiming::Ms;
    using Action = KeyTiming::Fired;  // a repeat, a dwell or a click to act on
    static constexpr int kMouse = KeyTiming::kMousePointer;

    enum class Kind : std::uint8_t {
        Types,    // types on the way down and not again
        Repeats,  // types on the way down, and again while held when repeat is on
        Clicks,   // acts on a release over the same key (the options button)
    };
    struct Press {
        bool types;  // false: a dwell of this key is typing it right now, and this press is that touch
    };
    // A timer request after each change: keep it as it is, stop it, or arm it once for `wait` ms.
    struct Timer {
        enum class Change : std::uint8_t { Keep, Stop, Arm } change = Change::Keep;
        Ms wait = 0;
        friend bool operator==(const Timer&, const Timer&) = default;
    };

    void configure(const ExtrasSettings& extras) { timing_.configure(extras); }

    // A press of key by source began; an earlier press of the same source ends without a click.
    Press press(int source, KeyId key, Kind kind, Ms now);
    // Around the keystrokes of a press, a repeat or a dwell; dwellKey: typed by resting on it.
    void typingBegins(std::optional<KeyId> dwellKey = std::nullopt);
    void typingEnds();
    bool typing() const { return !typing_.empty(); }

    // The source let go over `under`; a Clicks press let go over its own key clicks.
    void release(int source, std::optional<KeyId> under);
    // The capture went elsewhere: the source's press ends without a click.
    void lost(int source);
    // A modal dialog opens, or the keyboard closes: every press ends, no dwell runs on.
    void endAll(Ms now);
    bool holds(int source) const;

    void move(std::optional<KeyId> under, KeyTiming::Point at, Ms now) { timing_.move(under, at, now); }
    void leave(Ms now) { timing_.leave(now); }

    // The window timer fired. What is due, or nothing while a press types (it runs from due() later).
    std::vector<Action> tick(Ms now);
    // What waited for the typing to end: clicks, then the timer's actions; empty while anything types.
    std::vector<Action> due(Ms now);
    // How the one-shot window timer is to change for the next deadline.
    Timer timer(Ms now);
    std::vector<KeyTiming::Light> lights(Ms now) const { return timing_.lights(now); }

private:
    struct Record {
        int source;
        KeyId key;
        Kind kind;
    };

    void end(int source, std::optional<KeyId> clickedOver);

    KeyTiming timing_;
    std::vector<Record> presses_;               // the presses still down
    std::vector<std::optional<KeyId>> typing_;  // one entry per typing in progress, innermost last
    std::vector<Action> clicks_;                // released over their key while something typed
    bool tickWaits_ = false;                    // the timer fired while something typed
    std::optional<Ms> armedFor_;                // the deadline the window timer is armed for
};

}  // namespace tapkeys
