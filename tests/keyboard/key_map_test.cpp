#include "keyboard/key_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "keyboard/key_font.h"

namespace tapkeys {
namespace {

// Records what the key map asks of the window ("fg", "send:...", "caps:..." with the first three
// captions), and ends every key string the way the sender does: by releasing a pending one-shot Shift.
class KeyMapTest : public ::testing::Test, public KeyboardHost {
protected:
    void SetUp() override {
        keys.keySetLC = L"abc";
        keys.keySetUC = L"ABC";
        keys.showKeySet(false);
        events.clear();
    }
    void giveForegroundToTarget() override {
        events += L"fg|";
        if (onForeground) std::exchange(onForeground, nullptr)();
    }
    void sendKeyString(std::wstring_view keyString) override {
        events += L"send:" + std::wstring(keyString) + L"|";
        sent += L"send:" + std::wstring(keyString) + L"|";
        keys.releaseOneShotShift();
    }
    void sendPositionKey(const PositionKey& key) override {
        wchar_t scan[8];
        std::swprintf(scan, 8, L"%02X", key.scanCode);
        sent += L"key:" + std::wstring(scan) + (key.shifted ? L"+" : L"") + key.shown + L"|";
        keys.releaseOneShotShift();
    }
    void keyCaptionsChanged() override { events += L"caps:" + captions() + L"|"; }
    std::wstring captions() const {
        std::wstring all;
        for (int i = 0; i < 3; ++i) all += keys.keyCharacter(i).empty() ? L"_" : keys.keyCharacter(i);
        return all;
    }
    // s Shift, d the second press of a double click on Shift, c Caps Lock, k the first character key, e a
    // key past the end of the set, n Space, r Return.
    std::wstring press(std::wstring_view presses) {
        for (const wchar_t p : presses) {
            if (p == L's' || p == L'd') keys.onShift(p == L'd');
            if (p == L'c') keys.onCapsLock();
            if (p == L'k' || p == L'e') keys.onCharacterKey(p == L'k' ? 0 : 10);
            if (p == L'n' || p == L'r') keys.onNamedKey(p == L'n' ? Control::Space : Control::Return);
        }
        return std::exchange(events, {});
    }

    KeyMap keys{*this};
    std::wstring events;
    std::wstring sent;  // key strings and physical keys only
    std::function<void()> onForeground;
};

// Every key hands the foreground back before it sends; Shift is released by every key string, even an
// empty one; only the first press of a double click counts; Shift and Caps Lock switch each other off;
// named keys send their key strings unshifted.
TEST_F(KeyMapTest, ShiftAndCapsLockFollowTheStateTable) {
    using enum ShiftState;
    // clang-format off
    const std::tuple<const wchar_t*, ShiftState, const wchar_t*> rows[] = {
        {L"k", None, L"fg|send:a|"}, {L"s", OneShot, L"fg|caps:ABC|"}, {L"sk", None, L"fg|caps:ABC|fg|send:A|caps:abc|"},
        {L"se", None, L"fg|caps:ABC|fg|send:|caps:abc|"}, {L"sr", None, L"fg|caps:ABC|fg|send:{ENTER}|caps:abc|"},
        {L"ss", None, L"fg|caps:ABC|fg|caps:abc|"}, {L"sd", OneShot, L"fg|caps:ABC|"}, {L"ckn", CapsLock, L"fg|caps:ABC|fg|send:A|fg|send: |"},
        {L"cc", None, L"fg|caps:ABC|fg|caps:abc|"}, {L"cs", None, L"fg|caps:ABC|fg|caps:abc|"},
        {L"sc", None, L"fg|caps:ABC|fg|caps:abc|"}, {L"csd", None, L"fg|caps:ABC|fg|caps:abc|"}};
    // clang-format on
    for (const auto& [presses, state, events] : rows) {
        if (keys.shiftState() == CapsLock) keys.onCapsLock();
        keys.releaseOneShotShift();
        press(L"");
        EXPECT_EQ(press(presses), events) << presses;
        EXPECT_EQ(keys.shiftState(), state) << presses;
    }
}

// A key touched inside the sender's pause changes the captions; the interrupted key string still
// carries the character that was touched.
TEST_F(KeyMapTest, KeyStringIsTakenFromTheKeyWhenItIsPressed) {
    onForeground = [this] { keys.onCapsLock(); };
    EXPECT_EQ(press(L"k"), L"fg|fg|caps:ABC|send:a|");
}

TEST_F(KeyMapTest, EachKeyShowsOneCharacterAndKeysPastTheEndOfTheSetAreBlank) {
    keys.keySetUC = std::wstring(kCharacterKeyCount - 1, L'x') + L"yz";  // one character too many
    keys.showKeySet(true);
    EXPECT_EQ(keys.keyCharacter(kCharacterKeyCount - 1), L"y");
    EXPECT_TRUE(keys.keyCharacter(kCharacterKeyCount).empty());
    keys.showKeySet(false);
    EXPECT_EQ(captions(), L"abc");
    EXPECT_TRUE(keys.keyCharacter(3).empty());
}

// A layout as a table by scan code, in the order the scan codes run on the board (which is not the order
// of the positions): each run gives the normal and the shifted characters of consecutive scan codes,
// with "\u2205" for a key without a character; the dead keys are listed apart.
struct LayoutTable {
    const wchar_t* name;
    std::vector<std::tuple<std::uint16_t, std::wstring, std::wstring>> runs;
    std::vector<std::pair<std::uint16_t, bool>> dead;
};

class TableReader final : public LayoutReader {
public:
    explicit TableReader(const LayoutTable& table) : table_(table) {}
    mutable int reads = 0;
    LayoutCharacter characterAt(std::uint16_t scanCode, bool shifted) const override {
        ++reads;
        for (const auto& [first, normal, shiftedRun] : table_.runs) {
            const std::wstring& run = shifted ? shiftedRun : normal;
            if (scanCode < first || scanCode >= first + run.size() || run[scanCode - first] == L'\u2205')
                continue;
            const bool dead = std::find(table_.dead.begin(), table_.dead.end(),
                                        std::pair{scanCode, shifted}) != table_.dead.end();
            return {std::wstring(1, run[scanCode - first]), dead};
        }
        return {};
    }

private:
    const LayoutTable& table_;
};

// Every key shows the character of the physical key at its position, in both layers, with dead keys
// marked; Caps Lock takes the shifted layer; a key sends its physical key in the layer it shows, and a
// key without a character types nothing but still releases the Shift. A layout is read only when its id
// changes, and another id with the same characters asks for no redraw; without a layout, the key sets
// are back.
TEST_F(KeyMapTest, FollowedLayoutPutsThePhysicalKeysInTheirPositions) {
    const LayoutTable us{L"US",
                         {{0x02, L"1234567890-=", L"!@#$%^&*()_+"},
                          {0x10, L"qwertyuiop[]", L"QWERTYUIOP{}"},
                          {0x1E, L"asdfghjkl;'`", L"ASDFGHJKL:\"~"},
                          {0x2B, L"\\zxcvbnm,./", L"|ZXCVBNM<>?"}},
                         {}};
    const LayoutTable german{L"German",
                             {{0x02, L"1234567890\u00df\u00b4", L"!\"\u00a7$%&/()=?`"},
                              {0x10, L"qwertzuiop\u00fc+", L"QWERTZUIOP\u00dc*"},
                              {0x1E, L"asdfghjkl\u00f6\u00e4^", L"ASDFGHJKL\u00d6\u00c4\u00b0"},
                              {0x2B, L"#yxcvbnm,.-", L"'YXCVBNM;:_"},
                              {0x56, L"<", L">"}},
                             {{0x0D, false}, {0x0D, true}, {0x29, false}}};
    const LayoutTable french{L"French",
                             {{0x02, L"&\u00e9\"'(-\u00e8_\u00e7\u00e0)=", L"1234567890\u00b0+"},
                              {0x10, L"azertyuiop^$", L"AZERTYUIOP\u00a8\u00a3"},
                              {0x1E, L"qsdfghjklm\u00f9\u00b2", L"QSDFGHJKLM%\u2205"},
                              {0x2B, L"*wxcvbn,;:!", L"\u00b5WXCVBN?./\u00a7"},
                              {0x56, L"<", L">"}},
                             {{0x1A, false}, {0x1A, true}}};
    // clang-format off
    const std::tuple<const LayoutTable&, std::wstring, std::wstring, std::wstring, std::wstring, std::wstring> rows[] = {
        {us, L"1234567890-=qwertyuiop[]asdfghjkl;'\\\u2205zxcvbnm,./",
             L"!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"|\u2205ZXCVBNM<>?", L"", L"",
             L"key:0D=|key:1A+{|send:|"},
        {german, L"1234567890\u00df\u00b4qwertzuiop\u00fc+asdfghjkl\u00f6\u00e4#<yxcvbnm,.-",
                 L"!\"\u00a7$%&/()=?`QWERTZUIOP\u00dc*ASDFGHJKL\u00d6\u00c4'>YXCVBNM;:_", L"11", L"11",
                 L"key:0D\u00b4|key:1A+\u00dc|key:56+>|"},
        {french, L"&\u00e9\"'(-\u00e8_\u00e7\u00e0)=azertyuiop^$qsdfghjklm\u00f9*<wxcvbn,;:!",
                 L"1234567890\u00b0+AZERTYUIOP\u00a8\u00a3QSDFGHJKLM%\u00b5>WXCVBN?./\u00a7", L"22", L"22",
                 L"key:0D=|key:1A+\u00a8|key:56+>|"}};
    // clang-format on
    const auto shown = [this] {
        std::wstring all, dead;
        for (int i = 0; i < kCharacterKeyCount; ++i) {
            all += keys.keyCharacter(i).empty() ? L"\u2205" : keys.keyCharacter(i);
            if (keys.isDeadKey(i)) dead += std::to_wstring(i);
        }
        return std::pair{all, dead};
    };
    std::uintptr_t layoutId = 0;
    for (const auto& [table, normal, shifted, deadNormal, deadShifted, expectedSent] : rows) {
        EXPECT_TRUE(keys.followLayout(++layoutId, TableReader{table})) << table.name;
        keys.showKeySet(false);
        EXPECT_EQ(shown(), std::pair(normal, deadNormal)) << table.name;
        keys.onCapsLock();
        EXPECT_EQ(shown(), std::pair(shifted, deadShifted)) << table.name;
        keys.onCapsLock();
        sent.clear();
        keys.onCharacterKey(11);
        press(L"s");
        keys.onCharacterKey(22);
        press(L"s");
        keys.onCharacterKey(36);
        EXPECT_EQ(std::exchange(sent, {}), expectedSent) << table.name;
        EXPECT_EQ(keys.shiftState(), ShiftState::None) << table.name;
    }
    const TableReader reader{french};
    EXPECT_FALSE(keys.followLayout(layoutId, reader));
    EXPECT_EQ(reader.reads, 0);
    EXPECT_FALSE(keys.followLayout(layoutId + 1, reader));
    EXPECT_EQ(reader.reads, 2 * kCharacterKeyCount);
    keys.stopFollowingLayout();
    keys.showKeySet(false);
    EXPECT_EQ(captions(), L"abc");
    EXPECT_FALSE(keys.isDeadKey(22));
}

TEST(KeyFontTest, StyleLettersCountWhereverTheyStandAndOnlyInLowerCase) {
    EXPECT_EQ(keyFontFrom(L"Arial", L"ub", 14), (KeyFontSpec{L"Arial", 14, true, false, false, true}));
    EXPECT_EQ(keyFontFrom(L"Arial", L"BU", 14), (KeyFontSpec{L"Arial", 14, false, false, false, false}));
    EXPECT_EQ(keyFontFrom(L"", L"underline", 9), (KeyFontSpec{L"", 9, false, true, false, true}));  // u and i
}

// Contrast against black under 3:1 gets the halo: grey 89 (2.998:1) does, grey 90 (3.04:1) does not.
TEST(KeyFontTest, OnlyCaptionsWithTooLittleContrastAgainstBlackGetAHalo) {
    const std::pair<std::uint32_t, bool> cases[] = {{0x000000, true},  {0x595959, true},  {0x5A5A5A, false},
                                                    {0xFF0000, true},  {0x0000FF, false}, {0x00C000, false},
                                                    {0xFFFFFF, false}, {0x00007F, true}};
    for (const auto& [colour, halo] : cases) EXPECT_EQ(captionNeedsHalo(colour), halo) << std::hex << colour;
}

}  // namespace
}  // namespace tapkeys
