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

TEST(KeyFontTest, StyleLettersCountWhereverTheyStandAndOnlyInLowerCase) {
    EXPECT_EQ(keyFontFrom(L"Arial", L"ub", 14), (KeyFontSpec{L"Arial", 14, true, false, false, true}));
    EXPECT_EQ(keyFontFrom(L"Arial", L"BU", 14), (KeyFontSpec{L"Arial", 14, false, false, false, false}));
    EXPECT_EQ(keyFontFrom(L"", L"underline", 9), (KeyFontSpec{L"", 9, false, true, false, true}));  // u and i
}

}  // namespace
}  // namespace tapkeys
