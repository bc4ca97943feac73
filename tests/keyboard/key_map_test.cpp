#include "keyboard/key_map.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

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
        keys.releaseOneShotShift();
    }
    void keyCaptionsChanged() override { events += L"caps:" + captions() + L"|"; }
    std::wstring captions() const {
        std::wstring all;
        for (int i = 0; i < 3; ++i) all += keys.keyCharacter(i).empty() ? L"_" : keys.keyCharacter(i);
        return all;
    }
    std::wstring take() { return std::exchange(events, {}); }
    // s Shift, d the second press of a double click on Shift, c Caps Lock, k a character key, e a key past
    // the end of the set, n a named key.
    void press(std::wstring_view presses) {
        for (const wchar_t p : presses) {
            if (p == L's' || p == L'd') keys.onShift(p == L'd');
            if (p == L'c') keys.onCapsLock();
            if (p == L'k' || p == L'e') keys.onCharacterKey(p == L'k' ? 0 : 10);
            if (p == L'n') keys.onNamedKey(Control::Space);
        }
    }

    KeyMap keys{*this};
    std::wstring events;
    std::function<void()> onForeground;
};

TEST_F(KeyMapTest, ShowKeySetPutsOneCharacterPerKeyAndBlanksPastTheEnd) {
    keys.showKeySet(true);
    EXPECT_EQ(captions(), L"ABC");
    EXPECT_TRUE(keys.keyCharacter(3).empty());
    keys.keySetLC = std::wstring(kCharacterKeyCount - 1, L'x') + L"yz";  // one character too many
    keys.showKeySet(false);
    EXPECT_EQ(keys.keyCharacter(kCharacterKeyCount - 1), L"y");
    EXPECT_TRUE(keys.keyCharacter(kCharacterKeyCount).empty());
}

// Named keys send their key strings unshifted.
TEST_F(KeyMapTest, KeysSendWhatTheyShowAfterHandingBackTheForeground) {
    keys.onCharacterKey(1);
    EXPECT_EQ(take(), L"fg|send:b|");
    press(L"sk");
    EXPECT_EQ(take(), L"fg|caps:ABC|fg|send:A|caps:abc|");
    keys.onCapsLock();
    keys.onCharacterKey(2);
    keys.onCapsLock();
    EXPECT_EQ(take(), L"fg|caps:ABC|fg|send:C|fg|caps:abc|");
    keys.onShift(false);
    for (Control named : {Control::Return, Control::Esc, Control::Tab, Control::Backspace, Control::Space}) {
        keys.onNamedKey(named);
    }
    EXPECT_EQ(take(),
              L"fg|caps:ABC|fg|send:{ENTER}|caps:abc|fg|send:{ESC}|fg|send:{TAB}|fg|send:{BKSP}|fg|send: |");
}

// Shift is released by every key string, even an empty one; only the first press of a double click
// counts; Shift and Caps Lock switch each other off.
TEST_F(KeyMapTest, ShiftAndCapsLockFollowTheStateTable) {
    using enum ShiftState;
    // clang-format off
    const std::tuple<const wchar_t*, ShiftState, const wchar_t*> rows[] = {
        {L"s", OneShot, L"ABC"}, {L"sk", None, L"abc"}, {L"se", None, L"abc"}, {L"sn", None, L"abc"},
        {L"ss", None, L"abc"}, {L"sd", OneShot, L"ABC"}, {L"ckn", CapsLock, L"ABC"}, {L"cc", None, L"abc"},
        {L"cs", None, L"abc"}, {L"sc", None, L"abc"}, {L"csd", None, L"abc"}};
    // clang-format on
    for (const auto& [presses, state, shown] : rows) {
        if (keys.shiftState() == CapsLock) keys.onCapsLock();
        keys.releaseOneShotShift();
        ASSERT_EQ(keys.shiftState(), None);
        press(presses);
        EXPECT_EQ(keys.shiftState(), state) << presses;
        EXPECT_EQ(captions(), shown) << presses;
    }
}

// A key touched inside the sender's pause changes the captions; the interrupted key string still
// carries the character that was touched.
TEST_F(KeyMapTest, KeyStringIsTakenFromTheKeyWhenItIsPressed) {
    onForeground = [this] { keys.onCapsLock(); };
    keys.onCharacterKey(0);
    EXPECT_EQ(take(), L"fg|fg|caps:ABC|send:a|");
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
