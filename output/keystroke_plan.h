#pragma once
// Keystrokes as plain values: what one SendKeys item or one key event becomes before the Win32 side
// copies it into INPUT records. What depends on the target's keyboard layout is asked of
// KeyboardLayout, so the decisions are tested without a keyboard.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/key_output.h"

namespace tapkeys {

// The platform's KEYEVENTF_* values.
namespace keystroke_flags {
inline constexpr std::uint32_t extendedKey = 0x0001;
inline constexpr std::uint32_t keyUp = 0x0002;
inline constexpr std::uint32_t unicode = 0x0004;
}  // namespace keystroke_flags

// Modifiers as the high byte of VkKeyScanEx's result reports them.
namespace modifier_bits {
inline constexpr std::uint8_t shift = 0x01;
inline constexpr std::uint8_t control = 0x02;
inline constexpr std::uint8_t alt = 0x04;
}  // namespace modifier_bits

// One keyboard input record, laid out like KEYBDINPUT: a Unicode stroke has virtualKey 0 and carries
// its UTF-16 unit in scanCode.
struct KeyStroke {
    std::uint16_t virtualKey = 0;
    std::uint16_t scanCode = 0;
    std::uint32_t flags = 0;
    bool operator==(const KeyStroke&) const = default;
};

// A key of the layout and the modifiers to hold while pressing it.
struct LayoutKey {
    std::uint8_t virtualKey = 0;
    std::uint8_t modifiers = 0;
    bool operator==(const LayoutKey&) const = default;
};

// VkKeyScanEx's answer: the key in the low byte, modifiers in the high byte, -1 when the layout has
// no key for the character.
std::optional<LayoutKey> layoutKeyFromScanResult(std::int16_t vkKeyScanResult);

// The target's keyboard layout, as far as typing needs it.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The key the layout names for a character (VkKeyScanEx), if any.
    virtual std::optional<LayoutKey> keyFor(wchar_t character) const = 0;
    // What the key typed with these modifiers, under the lock keys as they stand now; empty when it
    // types nothing or only starts a dead key.
    virtual std::wstring typedBy(LayoutKey key) const = 0;
    // The key's scan code (MapVirtualKey); 0 when the layout has none.
    virtual std::uint16_t scanCode(std::uint8_t virtualKey) const = 0;
    // The virtual key the layout gives the physical key with this scan code; 0 when none.
    virtual std::uint8_t virtualKey(std::uint16_t scanCode) const = 0;
};

// Keys whose scan code comes with the 0xE0 prefix: they need KEYEVENTF_EXTENDEDKEY, or applications
// read them as their numeric-keypad twins.
bool isExtendedKey(std::uint8_t virtualKey);

// One press or release of a virtual key, with its real scan code and extended flag.
KeyStroke planKeyEvent(std::uint8_t virtualKey, bool keyUp, const KeyboardLayout& layout);

// Types one character (one UTF-16 unit or a surrogate pair) exactly as given: through its key on the
// layout when pressing that key, with the lock keys as they stand, really types it; otherwise as
// Unicode input.
std::vector<KeyStroke> planCharacter(std::wstring_view character, const KeyboardLayout& layout);

// Presses the physical key (its layout's virtual key with its own scan code), with Shift as its layer
// needs; where the target's Caps Lock would turn the letter around, Shift is turned around too, so the
// key types what it shows. A scan code the layout has no key for types the shown text instead.
std::vector<KeyStroke> planPositionKey(const PositionKey& key, const KeyboardLayout& layout);

// One item of SendKeys notation: "x", a braced character such as "{+}", or a braced key name such as
// "{LEFT}". Any other text is typed character by character.
std::vector<KeyStroke> planSendKeysItem(std::wstring_view item, const KeyboardLayout& layout);

}  // namespace tapkeys
