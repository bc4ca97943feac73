#pragma once
// The key sets, the Shift / Caps Lock state and what each key sends. Platform-free: the window-facing
// steps go through KeyboardHost, so the whole state table is tested natively.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keyboard/followed_layout.h"
#include "keyboard/layout.h"
#include "output/key_output.h"

namespace tapkeys {

class KeyboardHost {
public:
    virtual ~KeyboardHost() = default;
    // SetForegroundWindow(targetWindow).
    virtual void giveForegroundToTarget() = 0;
    // Sends a KeyString to the foreground window (the key string sender); must end by calling
    // KeyMap::releaseOneShotShift().
    virtual void sendKeyString(std::wstring_view keyString) = 0;
    // Presses a physical key of the target's layout; ends like sendKeyString.
    virtual void sendPositionKey(const PositionKey& key) = 0;
    // The characters on the keys changed: repaint the captions.
    virtual void keyCaptionsChanged() = 0;
};

enum class ShiftState : std::int16_t { None = 0, OneShot = 1, CapsLock = 2 };

class KeyMap {
public:
    explicit KeyMap(KeyboardHost& host) : host_(host) {}

    std::wstring keySetLC;  // normal layer, character p belongs to lblKey(p - 1)
    std::wstring keySetUC;  // shifted layer

    ShiftState shiftState() const { return shiftState_; }
    bool shifted() const { return shiftState_ != ShiftState::None; }

    // The character that key i holds and shows: one character, or empty past the end of a short set.
    std::wstring_view keyCharacter(int index) const;
    // Whether key i shows a dead key of the followed layout, which types nothing until the next key.
    bool isDeadKey(int index) const;

    void showKeySet(bool shifted);

    // From now on the keys show and type what the physical keys at their positions give under the layout
    // `layoutId` names, in place of the key sets; Shift and Caps Lock choose its layer the same way. The
    // layout is read only when the id differs from the one followed; returns whether the keys now hold
    // other characters, for the caller to show them.
    bool followLayout(std::uintptr_t layoutId, const LayoutReader& reader);
    // Back to the key sets; the caller shows them.
    void stopFollowingLayout();
    void typeToTarget(std::wstring_view keyString);

    // Press handlers. doubleClick marks the second press of a double click.
    void onCharacterKey(int index);
    void onNamedKey(Control control);  // Esc, Tab, Backspace, Return, Space
    void onShift(bool doubleClick);
    void onCapsLock();

    // The last step of every key string: a pending one-shot Shift ends.
    void releaseOneShotShift();

private:
    KeyboardHost& host_;
    ShiftState shiftState_ = ShiftState::None;
    bool shownShifted_ = false;
    std::optional<std::uintptr_t> followedLayoutId_;
    std::optional<FollowedLayout> followedLayout_;
    std::array<std::wstring, kCharacterKeyCount> keyCharacters_{};
    std::array<bool, kCharacterKeyCount> deadKeys_{};
};

// The KeyString a named key sends, or empty for controls that are not named keys.
std::wstring_view namedKeyString(Control control);

}  // namespace tapkeys
