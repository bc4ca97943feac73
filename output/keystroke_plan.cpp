#include "output/keystroke_plan.h"

#include <array>

#include "output/named_keys.h"
#include "output/utf16.h"
#include "output/virtual_keys.h"

namespace tapkeys {
namespace {

struct ModifierKey {
    std::uint8_t bit;
    std::uint8_t virtualKey;
};
// Pressed in this order, released in the reverse one.
constexpr std::array<ModifierKey, 3> modifierKeys{{
    {modifier_bits::shift, vk::shift},
    {modifier_bits::control, vk::control},
    {modifier_bits::alt, vk::menu},
}};

// Ctrl or Alt alone would reach the target as a shortcut or open its menu; with each other they are
// AltGr. Other bits (Hankaku, OEM) cannot be pressed from here.
bool canPressModifiers(std::uint8_t modifiers) {
    constexpr std::uint8_t altGr = modifier_bits::control | modifier_bits::alt;
    const std::uint8_t known = modifier_bits::shift | altGr;
    return (modifiers & ~known) == 0 && ((modifiers & altGr) == 0 || (modifiers & altGr) == altGr);
}

std::vector<KeyStroke> planKeyPress(LayoutKey key, const KeyboardLayout& layout, std::uint16_t scanCode = 0) {
    std::vector<KeyStroke> strokes;
    for (const ModifierKey& modifier : modifierKeys) {
        if (key.modifiers & modifier.bit) strokes.push_back(planKeyEvent(modifier.virtualKey, false, layout));
    }
    for (const bool keyUp : {false, true}) {
        KeyStroke stroke = planKeyEvent(key.virtualKey, keyUp, layout);
        if (scanCode != 0) stroke.scanCode = scanCode;
        strokes.push_back(stroke);
    }
    for (auto modifier = modifierKeys.rbegin(); modifier != modifierKeys.rend(); ++modifier) {
        if (key.modifiers & modifier->bit)
            strokes.push_back(planKeyEvent(modifier->virtualKey, true, layout));
    }
    return strokes;
}

std::vector<KeyStroke> planUnicode(std::wstring_view units) {
    std::vector<KeyStroke> strokes;
    for (const wchar_t unit : units) {
        const auto code = static_cast<std::uint16_t>(unit);
        strokes.push_back({0, code, keystroke_flags::unicode});
        strokes.push_back({0, code, keystroke_flags::unicode | keystroke_flags::keyUp});
    }
    return strokes;
}

// The layout's own answer is checked against what the key really types now: Caps Lock turns Shift
// around on letter keys, and a dead key would swallow the character until the next keystroke.
std::optional<LayoutKey> keyThatTypes(wchar_t character, const KeyboardLayout& layout) {
    const std::optional<LayoutKey> key = layout.keyFor(character);
    if (!key || !canPressModifiers(key->modifiers)) return std::nullopt;
    const std::wstring wanted(1, character);
    for (const std::uint8_t modifiers :
         {key->modifiers, static_cast<std::uint8_t>(key->modifiers ^ modifier_bits::shift)}) {
        const LayoutKey candidate{key->virtualKey, modifiers};
        if (layout.typedBy(candidate) == wanted) return candidate;
    }
    return std::nullopt;
}

bool isOneCharacter(std::wstring_view text) {
    return !text.empty() && characterLengthAt(text, 0) == text.size();
}

std::vector<KeyStroke> planText(std::wstring_view text, const KeyboardLayout& layout) {
    std::vector<KeyStroke> strokes;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLengthAt(text, i);
        const std::vector<KeyStroke> character = planCharacter(text.substr(i, length), layout);
        strokes.insert(strokes.end(), character.begin(), character.end());
        i += length;
    }
    return strokes;
}

}  // namespace

std::optional<LayoutKey> layoutKeyFromScanResult(std::int16_t vkKeyScanResult) {
    const auto bits = static_cast<std::uint16_t>(vkKeyScanResult);
    const auto virtualKey = static_cast<std::uint8_t>(bits & 0xFF);
    const auto modifiers = static_cast<std::uint8_t>(bits >> 8);
    if (virtualKey == 0xFF || modifiers == 0xFF) return std::nullopt;
    return LayoutKey{virtualKey, modifiers};
}

bool isExtendedKey(std::uint8_t virtualKey) {
    switch (virtualKey) {
        case vk::cancel:
        case vk::pageUp:
        case vk::pageDown:
        case vk::end:
        case vk::home:
        case vk::left:
        case vk::up:
        case vk::right:
        case vk::down:
        case vk::printScreen:
        case vk::insert:
        case vk::del:
        case vk::leftWin:
        case vk::rightWin:
        case vk::apps:
        case vk::divide:
        case vk::numLock:
        case vk::rightControl:
        case vk::rightMenu: return true;
        default:
            // VK_PAUSE is not among them: its E1 prefix has no flag of its own.
            return false;
    }
}

KeyStroke planKeyEvent(std::uint8_t virtualKey, bool keyUp, const KeyboardLayout& layout) {
    std::uint32_t flags = keyUp ? keystroke_flags::keyUp : 0;
    if (isExtendedKey(virtualKey)) flags |= keystroke_flags::extendedKey;
    return {virtualKey, layout.scanCode(virtualKey), flags};
}

std::vector<KeyStroke> planCharacter(std::wstring_view character, const KeyboardLayout& layout) {
    if (character.size() == 1) {
        if (const std::optional<LayoutKey> key = keyThatTypes(character[0], layout))
            return planKeyPress(*key, layout);
    }
    return planUnicode(character);
}

std::vector<KeyStroke> planPositionKey(const PositionKey& key, const KeyboardLayout& layout) {
    const std::uint8_t virtualKey = layout.virtualKey(key.scanCode);
    if (virtualKey == 0) return planText(key.shown, layout);
    LayoutKey press{virtualKey, key.shifted ? modifier_bits::shift : std::uint8_t{0}};
    const LayoutKey turned{virtualKey, static_cast<std::uint8_t>(press.modifiers ^ modifier_bits::shift)};
    // A dead key types nothing either way and keeps its layer.
    if (layout.typedBy(press) != key.shown && layout.typedBy(turned) == key.shown) press = turned;
    return planKeyPress(press, layout, key.scanCode);
}

std::vector<KeyStroke> planSendKeysItem(std::wstring_view item, const KeyboardLayout& layout) {
    if (item.size() >= 3 && item.front() == L'{' && item.back() == L'}') {
        const std::wstring_view inner = item.substr(1, item.size() - 2);
        if (isOneCharacter(inner)) return planCharacter(inner, layout);
        const std::optional<NamedKeyMatch> named = matchNamedKey(inner);
        if (named && named->nameLength == inner.size()) {
            return {planKeyEvent(named->virtualKey, false, layout),
                    planKeyEvent(named->virtualKey, true, layout)};
        }
    }
    return planText(item, layout);
}

}  // namespace tapkeys
