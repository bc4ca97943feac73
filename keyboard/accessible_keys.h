#pragma once
// The keyboard as assistive technology sees it: one object per key and button, with the name the key
// shows, its role, its state and its rectangle. Platform-free; the window's accessibility interface only
// hands these out.

#include <string>
#include <vector>

#include "keyboard/key_map.h"
#include "keyboard/layout_scale.h"

namespace tapkeys {

enum class AccessibleRole : unsigned char { PushButton, CheckButton };

struct AccessibleKey {
    KeyId key;
    std::wstring name;
    AccessibleRole role = AccessibleRole::PushButton;
    bool checked = false;  // Shift pending, Caps Lock on
    PixelRect rect;        // window pixels, round all of the key's frames
    bool operator==(const AccessibleKey&) const = default;
};

// Every key and button in reading order: the buttons of the top band, then the rows, each left to
// right, then the suggestion strip's cells, named by their words, where the scale shows the strip. A
// key's child id is its position here plus one.
std::vector<AccessibleKey> accessibleKeys(const KeyMap& keys, const LayoutScale& scale,
                                          const std::vector<std::wstring>& suggestions = {});

// The child id of the key, 0 when there is none.
int accessibleChildId(KeyId key);

// What a key's default action does, as screen readers announce it.
std::wstring_view defaultActionName(const AccessibleKey& key);

struct AccessibleChange {
    int childId;
    enum class Kind : unsigned char { Name, State } kind;
    bool operator==(const AccessibleChange&) const = default;
};

// What changed from one view of the keys to the next, for the events that keep clients up to date.
std::vector<AccessibleChange> accessibleChanges(const std::vector<AccessibleKey>& before,
                                                const std::vector<AccessibleKey>& after);

}  // namespace tapkeys
