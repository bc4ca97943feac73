#pragma once
// The timing of the touch and access extras: how long a press stays lit, when a held key repeats and
// when resting the pointer on a key types it. Platform-free: times come in as milliseconds from any
// steady clock and the window's timer only asks tick() when nextDeadline() says.

#include <cstdint>
#include <optional>
#include <vector>

#include "keyboard/layout.h"
#include "settings/extras_settings.h"

namespace tapkeys {

class KeyTiming {
public:
    using Ms = std::int64_t;
    static constexpr int kMousePointer = 0;  // touch pointers use their own, other ids
    static constexpr Ms kMinLitMs = 80;      // a press shorter than a frame is still seen
    static constexpr int kFullLight = 4;     // light levels 1..kFullLight; dwell shows its progress in them
    static constexpr int kTremorPx = 4;      // moves within this distance do not restart a dwell

    struct Point {
        int x = 0, y = 0;
    };
    struct Light {
        KeyId key;
        int level = kFullLight;
        friend bool operator==(const Light&, const Light&) = default;
    };
    // Click: the press tracker's, a button let go over itself.
    enum class Action : std::uint8_t { Repeat, Dwell, Click };
    struct Fired {
        Action action;
        KeyId key;
        friend bool operator==(const Fired&, const Fired&) = default;
    };

    void configure(const ExtrasSettings& extras);

    // A key was pressed (and has already typed). repeatable: it may repeat while held.
    void press(int pointer, KeyId key, bool repeatable, Ms now);
    void release(int pointer);
    // The mouse pointer moved to `at` (client pixels) over `under`, or over no key.
    void move(std::optional<KeyId> under, Point at, Ms now);
    // The mouse pointer left the window.
    void leave(Ms now) { move(std::nullopt, {}, now); }

    // What is due at now, in the order it fell due.
    std::vector<Fired> tick(Ms now);
    // When tick next has something to do (a repeat, a dwell step, a light going out); empty when idle.
    std::optional<Ms> nextDeadline(Ms now) const;
    // The keys lit at now, at most one entry per key.
    std::vector<Light> lights(Ms now) const;

private:
    struct Hold {
        int pointer;
        KeyId key;
        Ms pressedAt;
        bool held;                     // the pointer is still down on the key
        std::optional<Ms> nextRepeat;  // held and repeating
    };
    struct Dwell {
        KeyId key;
        Point anchor;
        Ms since;
        bool done;  // typed, or pressed: the pointer must leave the key first
    };

    void endHold(Hold& hold);
    bool mouseHeld() const;
    Ms dwellStepAt(int step) const { return dwell_->since + dwellMs_ * step / kFullLight; }

    bool feedback_ = true;
    Ms repeatDelayMs_ = 0;
    Ms repeatIntervalMs_ = 100;
    Ms dwellMs_ = 0;
    std::vector<Hold> holds_;
    std::optional<Dwell> dwell_;
};

}  // namespace tapkeys
