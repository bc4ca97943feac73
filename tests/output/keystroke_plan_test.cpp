#include "output/keystroke_plan.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>

namespace tapkeys {
namespace {

using namespace keystroke_flags;
using Strokes = std::vector<KeyStroke>;

constexpr std::uint8_t vkShift = 0x10, vkControl = 0x11, vkMenu = 0x12;
constexpr std::uint8_t vkA = 0x41, vkE = 0x45, vkOemPlus = 0xBB, vkOemCircumflex = 0xDC;
constexpr std::uint8_t shift = modifier_bits::shift;
constexpr std::uint8_t altGr = modifier_bits::control | modifier_bits::alt;

// A small German-like layout: letters follow Caps Lock, "+" does not, "€" is AltGr+E and "^" is a
// dead key.
class FakeLayout final : public KeyboardLayout {
public:
    bool capsLock = false;
    std::map<wchar_t, LayoutKey> keys{
        {L'a', {vkA, 0}},           {L'A', {vkA, shift}},      {L'+', {vkOemPlus, 0}},
        {L'*', {vkOemPlus, shift}}, {L'\u20AC', {vkE, altGr}}, {L'^', {vkOemCircumflex, 0}},
    };
    std::map<std::uint8_t, std::uint16_t> scanCodes{
        {vkShift, 0x2A},   {vkControl, 0x1D}, {vkMenu, 0x38}, {vkA, 0x1E},  {vkE, 0x12},
        {vkOemPlus, 0x1B}, {0x25, 0x4B},      {0x2E, 0x53},   {0x0D, 0x1C},
    };

    std::optional<LayoutKey> keyFor(wchar_t character) const override {
        const auto found = keys.find(character);
        return found == keys.end() ? std::nullopt : std::optional(found->second);
    }
    std::wstring typedBy(LayoutKey key) const override {
        const bool shifted = key.modifiers & shift;
        if (key.virtualKey == vkA && (key.modifiers & altGr) == 0) return shifted != capsLock ? L"A" : L"a";
        if (key.virtualKey == vkE && key.modifiers == altGr) return L"\u20AC";
        if (key.virtualKey == vkOemPlus && (key.modifiers & altGr) == 0) return shifted ? L"*" : L"+";
        return L"";
    }
    std::uint16_t scanCode(std::uint8_t virtualKey) const override {
        const auto found = scanCodes.find(virtualKey);
        return found == scanCodes.end() ? 0 : found->second;
    }
};

KeyStroke down(std::uint8_t virtualKey, std::uint16_t scanCode, std::uint32_t flags = 0) {
    return {virtualKey, scanCode, flags};
}
KeyStroke up(std::uint8_t virtualKey, std::uint16_t scanCode, std::uint32_t flags = 0) {
    return {virtualKey, scanCode, flags | keyUp};
}
Strokes unicodeUnit(wchar_t unit) {
    const auto code = static_cast<std::uint16_t>(unit);
    return {{0, code, unicode}, {0, code, unicode | keyUp}};
}

TEST(KeystrokePlan, ScanResultSplitsIntoKeyAndModifiers) {
    EXPECT_EQ(layoutKeyFromScanResult(0x0041), (LayoutKey{0x41, 0}));
    EXPECT_EQ(layoutKeyFromScanResult(0x0141), (LayoutKey{0x41, 1}));
    EXPECT_EQ(layoutKeyFromScanResult(0x0645), (LayoutKey{0x45, 6}));
    EXPECT_EQ(layoutKeyFromScanResult(-1), std::nullopt);
}

TEST(KeystrokePlan, KeyEventCarriesRealScanCodeAndExtendedFlag) {
    const FakeLayout layout;
    EXPECT_EQ(planKeyEvent(0x25, false, layout), down(0x25, 0x4B, extendedKey));
    EXPECT_EQ(planKeyEvent(0x25, true, layout), up(0x25, 0x4B, extendedKey));
    EXPECT_EQ(planKeyEvent(0x2E, false, layout), down(0x2E, 0x53, extendedKey));
    EXPECT_EQ(planKeyEvent(0x0D, true, layout), up(0x0D, 0x1C));
}

TEST(KeystrokePlan, ExtendedKeysAreTheE0PrefixedOnes) {
    for (const std::uint8_t key : {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2C, 0x2D, 0x2E, 0x5B,
                                   0x5C, 0x5D, 0x6F, 0x90, 0xA3, 0xA5}) {
        EXPECT_TRUE(isExtendedKey(key)) << int{key};
    }
    // Backspace, Tab, Enter, Pause, Caps Lock, Esc, Help, F1, Scroll Lock, the left-hand modifiers.
    for (const std::uint8_t key :
         {0x08, 0x09, 0x0D, 0x13, 0x14, 0x1B, 0x2F, 0x70, 0x91, 0x10, 0x11, 0x12, 0xA2}) {
        EXPECT_FALSE(isExtendedKey(key)) << int{key};
    }
}

TEST(KeystrokePlan, CharacterPressesItsModifiersAroundTheKey) {
    const FakeLayout layout;
    EXPECT_EQ(planCharacter(L"a", layout), (Strokes{down(vkA, 0x1E), up(vkA, 0x1E)}));
    EXPECT_EQ(planCharacter(L"A", layout),
              (Strokes{down(vkShift, 0x2A), down(vkA, 0x1E), up(vkA, 0x1E), up(vkShift, 0x2A)}));
    EXPECT_EQ(planCharacter(L"\u20AC", layout),
              (Strokes{down(vkControl, 0x1D), down(vkMenu, 0x38), down(vkE, 0x12), up(vkE, 0x12),
                       up(vkMenu, 0x38), up(vkControl, 0x1D)}));
}

TEST(KeystrokePlan, CapsLockTurnsShiftAroundOnlyWhereItActs) {
    FakeLayout layout;
    layout.capsLock = true;
    EXPECT_EQ(planCharacter(L"a", layout),
              (Strokes{down(vkShift, 0x2A), down(vkA, 0x1E), up(vkA, 0x1E), up(vkShift, 0x2A)}));
    EXPECT_EQ(planCharacter(L"A", layout), (Strokes{down(vkA, 0x1E), up(vkA, 0x1E)}));
    EXPECT_EQ(planCharacter(L"+", layout), (Strokes{down(vkOemPlus, 0x1B), up(vkOemPlus, 0x1B)}));
    EXPECT_EQ(planCharacter(L"*", layout),
              (Strokes{down(vkShift, 0x2A), down(vkOemPlus, 0x1B), up(vkOemPlus, 0x1B), up(vkShift, 0x2A)}));
}

TEST(KeystrokePlan, CharacterNoKeyTypesReliablyGoesOutAsUnicode) {
    FakeLayout layout;
    EXPECT_EQ(planCharacter(L"\u0436", layout), unicodeUnit(0x0436));  // not on the layout
    EXPECT_EQ(planCharacter(L"^", layout), unicodeUnit(L'^'));         // dead key
    layout.keys[L'\x01'] = {vkA, modifier_bits::control};              // Ctrl alone: a shortcut
    EXPECT_EQ(planCharacter(L"\x01", layout), unicodeUnit(0x01));
    layout.keys[L'x'] = {vkA, modifier_bits::alt};  // Alt alone: the menu
    EXPECT_EQ(planCharacter(L"x", layout), unicodeUnit(L'x'));
    layout.keys[L'y'] = {vkA, 0x08};  // a modifier that cannot be pressed
    EXPECT_EQ(planCharacter(L"y", layout), unicodeUnit(L'y'));
    layout.keys[L'z'] = {vkA, 0};  // the layout's answer does not type it in either shift state
    EXPECT_EQ(planCharacter(L"z", layout), unicodeUnit(L'z'));
}

TEST(KeystrokePlan, SurrogatePairGoesOutAsTwoUnicodeUnits) {
    const FakeLayout layout;
    const std::wstring grin{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    Strokes expected = unicodeUnit(0xD83D);
    const Strokes low = unicodeUnit(0xDE00);
    expected.insert(expected.end(), low.begin(), low.end());
    EXPECT_EQ(planCharacter(grin, layout), expected);
}

TEST(KeystrokePlan, SendKeysItems) {
    const FakeLayout layout;
    EXPECT_EQ(planSendKeysItem(L"a", layout), planCharacter(L"a", layout));
    EXPECT_EQ(planSendKeysItem(L"{+}", layout), (Strokes{down(vkOemPlus, 0x1B), up(vkOemPlus, 0x1B)}));
    EXPECT_EQ(planSendKeysItem(L"{{}", layout), unicodeUnit(L'{'));
    EXPECT_EQ(planSendKeysItem(L"{}}", layout), unicodeUnit(L'}'));
    EXPECT_EQ(planSendKeysItem(L"{LEFT}", layout),
              (Strokes{down(0x25, 0x4B, extendedKey), up(0x25, 0x4B, extendedKey)}));
    EXPECT_EQ(planSendKeysItem(L"{right}", layout),
              (Strokes{down(0x27, 0, extendedKey), up(0x27, 0, extendedKey)}));
    // Not a key name as a whole: typed as it stands.
    Strokes typed = unicodeUnit(L'{');
    for (const wchar_t c : std::wstring_view(L"LEFTX}")) {
        const Strokes one = unicodeUnit(c);
        typed.insert(typed.end(), one.begin(), one.end());
    }
    EXPECT_EQ(planSendKeysItem(L"{LEFTX}", layout), typed);
}

}  // namespace
}  // namespace tapkeys
