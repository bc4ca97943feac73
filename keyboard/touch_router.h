#pragma once
// Which pointer messages the keyboard window answers itself. Windows turns a touch into pointer
// messages and, for those a window leaves to the default handling, into mouse messages, one finger at a
// time. A finger on a key is taken at touch-down, so that two fingers on two keys both type; everything
// else (pens, the mouse, the buttons, the drag band) goes on to the mouse messages, which handle it as
// today. Platform-free, so the mapping is tested natively: Wine sends no pointer messages.

#include <cstdint>
#include <vector>

#include "keyboard/layout.h"

namespace tapkeys {

// Whether a press at hit activates the keyboard window. Keys type into the window in front and must
// leave it active; the buttons and the drag band activate as usual.
bool pressActivates(const HitTarget& hit);

class TouchRouter {
public:
    // Lost: the window lost the pointer's capture (a modal dialog, the desktop locked); ends like Up.
    enum class Message : std::uint8_t { Down, Update, Up, Lost };
    struct Action {
        // None: a taken finger's message that changes nothing (answered all the same).
        enum class Kind : std::uint8_t { PassOn, None, Press, Release } kind = Kind::PassOn;
        const Label* label = nullptr;  // Press: the key's label
        friend bool operator==(const Action&, const Action&) = default;
    };

    // A pointer message: the pointer's id, whether it is a finger, and what lies under it. A finger that
    // slides off its key lets the key go (Release) but stays taken until it lifts.
    Action route(Message message, std::uint32_t pointerId, bool touch, const HitTarget& hit);

private:
    struct Finger {
        std::uint32_t pointerId;
        KeyId key;
        bool onKey;
    };
    std::vector<Finger> fingers_;  // taken at touch-down, until they lift
};

}  // namespace tapkeys
