#include "keyboard/accessible_keys.h"

#include <algorithm>
#include <array>

namespace tapkeys {
namespace {

// One id per key, ordered as a reader goes: by the top of the key's (first) frame, then from the left.
constexpr auto readingOrder() {
    struct Place {
        int top = 0, left = 0;
        KeyId key;
    };
    std::array<Place, kCharacterKeyCount + 9> places{};
    std::size_t n = 0;
    for (const Label& label : kLayout) {
        if (label.part == LabelPart::Frame) places[n++] = {label.rect.top, label.rect.left, keyOf(label)};
    }
    std::ranges::sort(places, {}, [](const Place& p) { return std::pair(p.top, p.left); });
    std::array<KeyId, places.size()> order{};
    for (std::size_t i = 0; i < places.size(); ++i) order[i] = places[i].key;
    return order;
}
inline constexpr auto kReadingOrder = readingOrder();

std::wstring nameOf(KeyId key, const KeyMap& keys) {
    switch (key.control) {
        case Control::Key:
        case Control::KeyBG: return std::wstring(keys.keyCharacter(key.index));
        case Control::Esc: return L"Esc";
        case Control::Tab: return L"Tab";
        case Control::CapsLock: return L"Caps Lock";
        case Control::Shift: return L"Shift";
        case Control::Backspace: return L"Backspace";
        case Control::Return: return L"Enter";
        case Control::Space: return L"Space";
        case Control::Options: return L"Settings";
        case Control::Close: return L"Close";
        case Control::Suggestion: return {};  // its word, which the strip knows
    }
    return {};
}

PixelRect boundsOf(KeyId key, const LayoutScale& scale) {
    const KeyFrames frames = framesOf(key);
    PixelRect bounds = scale.toPixels(frames.rects[0]);
    for (int f = 1; f < frames.count; ++f) {
        const PixelRect r = scale.toPixels(frames.rects[static_cast<std::size_t>(f)]);
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top), std::max(bounds.right, r.right),
                  std::max(bounds.bottom, r.bottom)};
    }
    return bounds;
}

}  // namespace

std::vector<AccessibleKey> accessibleKeys(const KeyMap& keys, const LayoutScale& scale,
                                          const std::vector<std::wstring>& suggestions) {
    std::vector<AccessibleKey> out;
    out.reserve(kReadingOrder.size() + kSuggestionCellCount);
    for (const KeyId key : kReadingOrder) {
        const bool toggle = key.control == Control::Shift || key.control == Control::CapsLock;
        const ShiftState on = key.control == Control::Shift ? ShiftState::OneShot : ShiftState::CapsLock;
        out.push_back({key, nameOf(key, keys),
                       toggle ? AccessibleRole::CheckButton : AccessibleRole::PushButton,
                       toggle && keys.shiftState() == on, boundsOf(key, scale)});
    }
    if (!scale.stripShown()) return out;
    for (int cell = 0; cell < kSuggestionCellCount; ++cell) {
        const auto i = static_cast<std::size_t>(cell);
        const KeyId key{Control::Suggestion, cell};
        out.push_back({key, i < suggestions.size() ? suggestions[i] : std::wstring{},
                       AccessibleRole::PushButton, false, boundsOf(key, scale)});
    }
    return out;
}

int accessibleChildId(KeyId key) {
    if (key.control == Control::KeyBG) key.control = Control::Key;
    if (key.control == Control::Suggestion) return static_cast<int>(kReadingOrder.size()) + key.index + 1;
    const auto found = std::ranges::find(kReadingOrder, key);
    return found == kReadingOrder.end() ? 0 : static_cast<int>(found - kReadingOrder.begin()) + 1;
}

std::wstring_view defaultActionName(const AccessibleKey& key) {
    if (key.role == AccessibleRole::CheckButton) return key.checked ? L"Uncheck" : L"Check";
    return L"Press";
}

std::vector<AccessibleChange> accessibleChanges(const std::vector<AccessibleKey>& before,
                                                const std::vector<AccessibleKey>& after) {
    std::vector<AccessibleChange> changes;
    for (std::size_t i = 0; i < after.size() && i < before.size(); ++i) {
        const int id = static_cast<int>(i) + 1;
        if (before[i].name != after[i].name) changes.push_back({id, AccessibleChange::Kind::Name});
        if (before[i].checked != after[i].checked) changes.push_back({id, AccessibleChange::Kind::State});
    }
    return changes;
}

}  // namespace tapkeys
