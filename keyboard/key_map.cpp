#include "keyboard/key_map.h"

#include <utility>

namespace tapkeys {

std::wstring_view namedKeyString(Control control) {
    switch (control) {
        case Control::Esc: return L"{ESC}";
        case Control::Tab: return L"{TAB}";
        case Control::Backspace: return L"{BKSP}";
        case Control::Return: return L"{ENTER}";
        case Control::Space: return L" ";
        default: return {};
    }
}

std::wstring_view KeyMap::keyCharacter(int index) const {
    if (index < 0 || index >= kCharacterKeyCount) return {};
    return keyCharacters_[static_cast<size_t>(index)];
}

bool KeyMap::isDeadKey(int index) const {
    return index >= 0 && index < kCharacterKeyCount && deadKeys_[static_cast<size_t>(index)];
}

void KeyMap::showKeySet(bool shifted) {
    shownShifted_ = shifted;
    const std::wstring& set = shifted ? keySetUC : keySetLC;
    for (size_t i = 0; i < keyCharacters_.size(); ++i) {
        if (followedLayout_) {
            const LayoutCharacter& key = (shifted ? followedLayout_->shifted : followedLayout_->normal)[i];
            keyCharacters_[i] = key.text;
            deadKeys_[i] = key.dead;
        } else {
            keyCharacters_[i] = i < set.size() ? set.substr(i, 1) : std::wstring{};
            deadKeys_[i] = false;
        }
    }
    host_.keyCaptionsChanged();
}

bool KeyMap::followLayout(std::uintptr_t layoutId, const LayoutReader& reader) {
    if (followedLayoutId_ == layoutId) return false;
    followedLayoutId_ = layoutId;
    FollowedLayout layout = readFollowedLayout(reader);
    // Another layout with the same characters (the same language on another input thread) changes
    // nothing on the screen.
    if (followedLayout_ == layout) return false;
    followedLayout_ = std::move(layout);
    return true;
}

void KeyMap::stopFollowingLayout() {
    followedLayoutId_.reset();
    followedLayout_.reset();
}

void KeyMap::typeToTarget(std::wstring_view keyString) {
    // The key string is copied first: a press handled during a safe-mode pause may change the key
    // characters, and what was touched must still go out as it was shown.
    const std::wstring copy{keyString};
    host_.giveForegroundToTarget();
    host_.sendKeyString(copy);
}

void KeyMap::onCharacterKey(int index) {
    if (!followedLayout_ || keyCharacter(index).empty()) return typeToTarget(keyCharacter(index));
    // The physical key, not its character: the target's layout then composes a dead key with the next.
    const PositionKey key{kPositionScanCodes[static_cast<size_t>(index)], shownShifted_,
                          std::wstring(keyCharacter(index))};
    host_.giveForegroundToTarget();
    host_.sendPositionKey(key);
}

void KeyMap::onNamedKey(Control control) {
    typeToTarget(namedKeyString(control));
}

void KeyMap::onShift(bool doubleClick) {
    if (doubleClick) return;
    host_.giveForegroundToTarget();
    shiftState_ = shiftState_ == ShiftState::None ? ShiftState::OneShot : ShiftState::None;
    showKeySet(shifted());
}

void KeyMap::onCapsLock() {
    host_.giveForegroundToTarget();
    shiftState_ = shiftState_ == ShiftState::None ? ShiftState::CapsLock : ShiftState::None;
    showKeySet(shifted());
}

void KeyMap::releaseOneShotShift() {
    if (shiftState_ != ShiftState::OneShot) return;
    shiftState_ = ShiftState::None;
    showKeySet(false);
}

}  // namespace tapkeys
