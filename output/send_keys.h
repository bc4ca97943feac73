#pragma once
// Keystroke injection into the window with the keyboard focus, through SendInput.

#include <cstdint>
#include <string_view>

#include "output/key_output.h"

namespace tapkeys {

// Types one item of SendKeys notation ("x", "{+}", "{{}", "{LEFT}", "{RIGHT}") into the focused window
// of the foreground thread, on that thread's keyboard layout, and returns without waiting for it.
void typeSendKeysItem(std::wstring_view item);

// Presses a physical key of the foreground thread's layout, with Shift where its layer needs it.
void typePositionKey(const PositionKey& key);

// One press or release of a virtual key, with the key's real scan code and extended flag.
void sendKeyEvent(std::uint8_t virtualKey, bool keyUp);

}  // namespace tapkeys
