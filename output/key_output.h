#pragma once
// What the key string walk needs from the platform. The walk itself is platform-free; the Win32 side
// implements this with SendInput and the message-pumping pause, the tests with a recording fake.

#include <cstdint>
#include <string>
#include <string_view>

namespace tapkeys {

// A physical key of the target's layout, named by its scan code, and the text the keyboard shows on it.
struct PositionKey {
    std::uint16_t scanCode = 0;
    bool shifted = false;
    std::wstring shown;
    bool operator==(const PositionKey&) const = default;
};

class KeyOutput {
public:
    virtual ~KeyOutput() = default;
    // Types one item of SendKeys notation into the focused window without waiting: a single character,
    // a reserved character in braces such as "{+}", or "{LEFT}" / "{RIGHT}".
    virtual void sendKeys(std::wstring_view item) = 0;
    // Presses the physical key itself, with Shift where its layer needs it, so the target's own layout
    // makes the character and a dead key composes with the next key there.
    virtual void positionKey(const PositionKey& key) = 0;
    // One synthetic press (keyUp false) or release (keyUp true) of a virtual key.
    virtual void keyEvent(std::uint8_t virtualKey, bool keyUp) = 0;
    // Pauses while window messages keep being processed; other key presses may run inside.
    virtual void pause(int milliseconds) = 0;
    // Safe mode as it stands now: read afresh for every character and backspace.
    virtual bool safeMode() const = 0;
    // Runs once after every key string: releases a pending one-shot Shift.
    virtual void keyStringDone() = 0;
};

}  // namespace tapkeys
