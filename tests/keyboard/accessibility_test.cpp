#include "keyboard/accessible_keys.h"
#include "keyboard/key_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace tapkeys {
namespace {

class AccessibleKeysTest : public ::testing::Test, public KeyboardHost {
protected:
    void SetUp() override {
        keys.keySetLC = L"1234567890-=qwertyuiop[]asdfghjkl;'#\\zxcvbnm,./";
        keys.keySetUC = L"!\"#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:@~|ZXCVBNM<>?";
        keys.showKeySet(false);
    }
    void giveForegroundToTarget() override {}
    void sendKeyString(std::wstring_view) override { keys.releaseOneShotShift(); }
    void sendPositionKey(const PositionKey&) override { keys.releaseOneShotShift(); }
    void keyCaptionsChanged() override {}
    KeyMap keys{*this};
};

// One child per key and button in reading order, named by what it shows; Shift and Caps Lock are check
// buttons whose state follows the key map. A Shift press renames every key whose layers differ.
TEST_F(AccessibleKeysTest, ChildrenInReadingOrderWithNamesRolesStatesAndChanges) {
    using enum AccessibleRole;
    const std::vector<AccessibleKey> before = accessibleKeys(keys, LayoutScale{});
    ASSERT_EQ(before.size(), 56u);
    const std::tuple<int, const wchar_t*, AccessibleRole> children[] = {
        {1, L"Settings", PushButton}, {2, L"Close", PushButton},      {3, L"Esc", PushButton},
        {4, L"1", PushButton},        {16, L"Backspace", PushButton}, {17, L"Tab", PushButton},
        {18, L"q", PushButton},       {30, L"Enter", PushButton},     {31, L"Caps Lock", CheckButton},
        {44, L"Shift", CheckButton},  {55, L"/", PushButton},         {56, L"Space", PushButton}};
    for (const auto& [id, name, role] : children) {
        const AccessibleKey& child = before[static_cast<std::size_t>(id - 1)];
        EXPECT_EQ(std::tuple(child.name, child.role, accessibleChildId(child.key)),
                  std::tuple(name, role, id));
    }
    EXPECT_EQ(accessibleChildId({Control::KeyBG, 12}), 18);
    EXPECT_EQ(before[29].rect, (PixelRect{552, 88, 625, 169}));  // Enter: round both parts of its L
    EXPECT_EQ(accessibleKeys(keys, LayoutScale{96, 150})[17].rect,
              LayoutScale(96, 150).toPixels(framesOf({Control::Key, 12}).rects[0]));
    EXPECT_EQ(defaultActionName(before[43]), L"Check");
    // With the strip, its cells follow the keys, named by their words; an empty cell has no name.
    const std::vector<AccessibleKey> strip =
        accessibleKeys(keys, LayoutScale{}.withStrip(true), {L"the", L"they"});
    ASSERT_EQ(strip.size(), 61u);
    EXPECT_EQ(std::tuple(strip[57].name, strip[58].name, accessibleChildId(strip[57].key)),
              std::tuple(L"they", L"", 58));
    EXPECT_EQ(strip[56].rect, LayoutScale{}.withStrip(true).toPixels(suggestionCellRect(0)));

    keys.onShift(false);
    const std::vector<AccessibleKey> shifted = accessibleKeys(keys, LayoutScale{});
    EXPECT_TRUE(shifted[43].checked && !shifted[30].checked);
    EXPECT_EQ(std::tuple(shifted[17].name, defaultActionName(shifted[43])), std::tuple(L"Q", L"Uncheck"));
    const std::vector<AccessibleChange> changes = accessibleChanges(before, shifted);
    EXPECT_EQ(changes.size(), 47u + 1u);  // every character key, and Shift's state
    EXPECT_NE(std::ranges::find(changes, AccessibleChange{44, AccessibleChange::Kind::State}), changes.end());
    EXPECT_EQ(std::ranges::find(changes, AccessibleChange{31, AccessibleChange::Kind::State}), changes.end());
}

// High contrast draws in the system's colours, the user's caption colour set aside; off, the user's
// colour stands, with a halo only where it is too dark for the black art.
TEST(KeyPaletteTest, SystemColoursOnlyInHighContrast) {
    const SystemContrast on{true, 0x000000, 0xFFFFFF, 0x00FFFF}, off{false, 0x000000, 0xFFFFFF, 0x00FFFF};
    const std::tuple<SystemContrast, std::uint32_t, KeyPalette> rows[] = {
        {off, 0x0000FF, {.captions = 0x0000FF, .title = 0xF6F0EC, .notice = 0x40C8FF}},
        {off, 0x000000, {.captions = 0x000000, .title = 0xF6F0EC, .notice = 0x40C8FF, .halo = true}},
        {on, 0x000000, {true, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x00FFFF, 0x00FFFF, false}}};
    for (const auto& [system, colour, expected] : rows)
        EXPECT_EQ(choosePalette(system, colour), expected) << system.highContrast << " " << colour;
}

}  // namespace
}  // namespace tapkeys
