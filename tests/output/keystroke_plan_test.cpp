#include "output/keystroke_plan.h"

#include "output/caps_lock_tracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tapkeys {
namespace {

using namespace keystroke_flags;
using Strokes = std::vector<KeyStroke>;

constexpr std::uint8_t vkShift = 0x10, vkControl = 0x11, vkMenu = 0x12, vkLeft = 0x25, vk1 = 0x31, vkA = 0x41,
                       vkE = 0x45, vkOemPlus = 0xBB, vkOemCircumflex = 0xDC;
constexpr std::uint8_t shift = modifier_bits::shift, altGr = modifier_bits::control | modifier_bits::alt;

const std::map<std::uint8_t, std::uint16_t> scanCodes{
    {vkShift, 0x2A},   {vkControl, 0x1D}, {vkMenu, 0x38},          {vkA, 0x1E}, {vkE, 0x12},
    {vkOemPlus, 0x1B}, {vkLeft, 0x4B},    {vkOemCircumflex, 0x29}, {vk1, 0x02}};

// A small German-like layout: letters follow Caps Lock, digits and "+" do not, "€" is AltGr+E and "^"
// is a dead key. Ctrl+A, Alt+A and A with an unknown modifier type control characters or nothing.
class FakeLayout final : public KeyboardLayout {
public:
    bool capsLock = false;
    // clang-format off
    const std::map<wchar_t, LayoutKey> keys{
        {L'a', {vkA, 0}}, {L'A', {vkA, shift}}, {L'+', {vkOemPlus, 0}}, {L'*', {vkOemPlus, shift}},
        {L'\u20AC', {vkE, altGr}}, {L'^', {vkOemCircumflex, 0}}, {L'\x01', {vkA, modifier_bits::control}},
        {L'x', {vkA, modifier_bits::alt}}, {L'y', {vkA, 0x08}}, {L'z', {vkA, 0}}, {L'1', {vk1, 0}}, {L'!', {vk1, shift}}};
    // clang-format on

    std::optional<LayoutKey> keyFor(wchar_t character) const override {
        const auto found = keys.find(character);
        return found == keys.end() ? std::nullopt : std::optional(found->second);
    }
    std::wstring typedBy(LayoutKey key) const override {
        const bool shifted = key.modifiers & shift;
        if (key.virtualKey == vkA && (key.modifiers & altGr) == 0) return shifted != capsLock ? L"A" : L"a";
        if (key.virtualKey == vkE && key.modifiers == altGr) return L"\u20AC";
        if (key.virtualKey == vkOemPlus && (key.modifiers & altGr) == 0) return shifted ? L"*" : L"+";
        if (key.virtualKey == vk1 && (key.modifiers & altGr) == 0) return shifted ? L"!" : L"1";
        return L"";
    }
    std::uint16_t scanCode(std::uint8_t virtualKey) const override {
        const auto found = scanCodes.find(virtualKey);
        return found == scanCodes.end() ? 0 : found->second;
    }
    std::uint8_t virtualKey(std::uint16_t scanCode) const override {
        const auto found =
            std::ranges::find(scanCodes, scanCode, [](const auto& entry) { return entry.second; });
        return found == scanCodes.end() ? 0 : found->first;
    }
};

// Presses the keys in order and releases them in reverse, with the fake's scan codes.
Strokes tap(std::vector<std::uint8_t> keys, std::uint32_t flags = 0) {
    Strokes strokes;
    for (const std::uint8_t key : keys) strokes.push_back({key, scanCodes.at(key), flags});
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        strokes.push_back({*key, scanCodes.at(*key), flags | keyUp});
    return strokes;
}
Strokes unicodeText(std::wstring_view text) {
    Strokes strokes;
    for (const wchar_t unit : text) {
        strokes.push_back({0, static_cast<std::uint16_t>(unit), unicode});
        strokes.push_back({0, static_cast<std::uint16_t>(unit), unicode | keyUp});
    }
    return strokes;
}

// A character goes through its key when the key with its modifiers, under Caps Lock as it stands, types
// exactly that character; as Unicode when the layout has no key, only a dead key, a shortcut (Ctrl or Alt
// alone), a modifier that cannot be pressed, or a key that does not type it. Key names press their key
// with its real scan code and, for keys with the 0xE0 prefix, the extended flag.
// A physical key goes out with its own scan code; Shift follows the layer unless the target's Caps Lock
// would turn the letter around; a dead key keeps its layer; a key the layout lacks types its text.
TEST(KeystrokePlan, CharactersAndPhysicalKeysGoThroughKeysOnlyWhereTheyTypeExactlyThat) {
    FakeLayout layout;
    const std::wstring grin{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    // clang-format off
    const std::tuple<std::wstring, bool, Strokes> items[] = {
        {L"a", false, tap({vkA})}, {L"A", false, tap({vkShift, vkA})}, {L"\u20AC", false, tap({vkControl, vkMenu, vkE})},
        {L"a", true, tap({vkShift, vkA})}, {L"A", true, tap({vkA})}, {L"+", true, tap({vkOemPlus})},
        {L"*", true, tap({vkShift, vkOemPlus})}, {L"*", false, tap({vkShift, vkOemPlus})}, {L"1", true, tap({vk1})},
        {L"!", true, tap({vkShift, vk1})}, {L"\u0436", false, unicodeText(L"\u0436")}, {L"^", false, unicodeText(L"^")},
        {L"\x01", false, unicodeText(L"\x01")}, {L"x", false, unicodeText(L"x")}, {L"y", false, unicodeText(L"y")},
        {L"z", false, unicodeText(L"z")}, {grin, false, unicodeText(grin)}, {L"{+}", false, tap({vkOemPlus})},
        {L"{{}", false, unicodeText(L"{")}, {L"{}}", false, unicodeText(L"}")}, {L"{LEFT}", false, tap({vkLeft}, extendedKey)},
        {L"{right}", false, {{0x27, 0, extendedKey}, {0x27, 0, extendedKey | keyUp}}},
        {L"{LEFTX}", false, unicodeText(L"{LEFTX}")}};  // not a name as a whole
    const std::tuple<PositionKey, bool, Strokes> positions[] = {
        {{0x1E, false, L"a"}, false, tap({vkA})}, {{0x1E, true, L"A"}, false, tap({vkShift, vkA})},
        {{0x1E, false, L"a"}, true, tap({vkShift, vkA})}, {{0x1B, true, L"*"}, true, tap({vkShift, vkOemPlus})},
        {{0x29, false, L"^"}, false, tap({vkOemCircumflex})}, {{0x29, true, L"\u00B0"}, true, tap({vkShift, vkOemCircumflex})},
        {{0x59, false, L"\u0436"}, false, unicodeText(L"\u0436")}};
    // clang-format on
    for (const auto& [item, capsLock, expected] : items) {
        layout.capsLock = capsLock;
        EXPECT_EQ(planSendKeysItem(item, layout), expected) << item << (capsLock ? L" with Caps Lock" : L"");
    }
    for (const auto& [key, capsLock, expected] : positions) {
        layout.capsLock = capsLock;
        EXPECT_EQ(planPositionKey(key, layout), expected)
            << key.shown << (capsLock ? L" with Caps Lock" : L"");
    }
    // The layout's answer: the key in the low byte, its modifiers in the high byte.
    EXPECT_EQ(layoutKeyFromScanResult(0x0645), (LayoutKey{0x45, 6}));
    EXPECT_EQ(layoutKeyFromScanResult(-1), std::nullopt);
}

// Caps Lock turns around at each press of its key, not at the repeats of a held key nor at releases;
// each row starts from its own reading ("1" on, "0" off) and gives down "d" and up "u" events.
TEST(CapsLockTracker, EachPressTurnsItAroundRepeatsAndReleasesDoNot) {
    const std::pair<std::string_view, bool> cases[] = {{"0", false},   {"1", true},     {"0du", true},
                                                       {"1du", false}, {"0dddu", true}, {"0dudu", false},
                                                       {"0u", false}};
    for (const auto& [events, on] : cases) {
        CapsLockTracker tracker(events[0] == '1');
        for (const char event : events.substr(1)) tracker.onKey(event == 'd');
        EXPECT_EQ(tracker.on(), on) << events;
    }
}

}  // namespace
}  // namespace tapkeys
