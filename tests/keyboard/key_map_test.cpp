#include "keyboard/key_map.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "keyboard/key_font.h"

namespace tapkeys {
namespace {

// Records what the key map asks of the window ("fg", "send:...", "key:" with a physical key's scan code in
// decimal, "caps:..." with the first three captions), and ends every key string the way the sender does: by
// releasing a pending one-shot Shift.
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
    void sendPositionKey(const PositionKey& key) override {
        events += L"key:" + std::to_wstring(key.scanCode) + (key.shifted ? L"+" : L"") + key.shown + L"|";
        keys.releaseOneShotShift();
    }
    void keyCaptionsChanged() override { events += L"caps:" + shown(3) + L"|"; }
    // The first `count` captions, "\u2205" for a blank key, a dead key in brackets.
    std::wstring shown(int count) const {
        std::wstring all;
        for (int i = 0; i < count; ++i) {
            const std::wstring key(keys.keyCharacter(i));
            all += keys.isDeadKey(i) ? L"[" + key + L"]" : key.empty() ? L"\u2205" : key;
        }
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
    // A key touched inside the sender's pause changes the captions; the interrupted key string still
    // carries the character that was touched.
    onForeground = [this] { keys.onCapsLock(); };
    EXPECT_EQ(press(L"k"), L"fg|fg|caps:ABC|send:a|");
}

// German by scan code, in runs of consecutive codes (the codes do not run in the order of the positions),
// normal and shifted; the accents are dead keys; the ISO key has no shifted character here.
class GermanLayout final : public LayoutReader {
public:
    mutable int reads = 0;
    LayoutCharacter characterAt(std::uint16_t scanCode, bool shifted) const override {
        ++reads;
        // clang-format off
        static const std::tuple<std::uint16_t, std::wstring_view, std::wstring_view> runs[] = {
            {0x02, L"1234567890\u00df\u00b4", L"!\"\u00a7$%&/()=?`"}, {0x10, L"qwertzuiop\u00fc+", L"QWERTZUIOP\u00dc*"},
            {0x1E, L"asdfghjkl\u00f6\u00e4^", L"ASDFGHJKL\u00d6\u00c4\u00b0"}, {0x2B, L"#yxcvbnm,.-", L"'YXCVBNM;:_"},
            {0x56, L"<", L""}};
        // clang-format on
        for (const auto& [first, normal, shiftedRun] : runs) {
            const std::wstring_view run = shifted ? shiftedRun : normal;
            if (scanCode < first || scanCode >= first + run.size()) continue;
            const wchar_t c = run[scanCode - first];
            return {std::wstring(1, c), std::wstring_view(L"\u00b4`^").find(c) != std::wstring_view::npos};
        }
        return {};
    }
};

// Every key shows the character of the physical key at its position, in both layers, with dead keys
// marked; Caps Lock takes the shifted layer; a key sends its physical key in the layer it shows, and a
// key without a character types nothing but still releases the Shift. A layout is read only when its id
// changes, and another id with the same characters asks for no redraw; without a layout, the key sets
// are back.
TEST_F(KeyMapTest, FollowedLayoutPutsThePhysicalKeysInTheirPositions) {
    const GermanLayout german;
    EXPECT_TRUE(keys.followLayout(1, german));
    keys.showKeySet(false);
    // clang-format off
    EXPECT_EQ(shown(kCharacterKeyCount), L"1234567890\u00df[\u00b4]qwertzuiop\u00fc+asdfghjkl\u00f6\u00e4#<yxcvbnm,.-");
    keys.onCapsLock();
    EXPECT_EQ(shown(kCharacterKeyCount), L"!\"\u00a7$%&/()=?[`]QWERTZUIOP\u00dc*ASDFGHJKL\u00d6\u00c4'\u2205YXCVBNM;:_");
    keys.onCapsLock();
    press(L"");
    for (const int key : {11, -1, 22, -1, 36}) key < 0 ? keys.onShift(false) : keys.onCharacterKey(key);  // -1: Shift
    EXPECT_EQ(press(L""), L"fg|key:13\u00b4|fg|caps:!\"\u00a7|fg|key:26+\u00dc|caps:123|fg|caps:!\"\u00a7|fg|send:|caps:123|");
    // clang-format on
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
    EXPECT_FALSE(keys.followLayout(1, german));
    EXPECT_EQ(german.reads, 2 * kCharacterKeyCount);
    EXPECT_FALSE(keys.followLayout(2, german));
    EXPECT_EQ(german.reads, 4 * kCharacterKeyCount);
    keys.stopFollowingLayout();
    keys.showKeySet(false);
    EXPECT_EQ(shown(12), L"abc" + std::wstring(9, L'\u2205'));
}

TEST(KeyFontTest, StyleLettersCountWhereverTheyStandAndOnlyInLowerCase) {
    EXPECT_EQ(keyFontFrom(L"Arial", L"ub", 14), (KeyFontSpec{L"Arial", 14, true, false, false, true}));
    EXPECT_EQ(keyFontFrom(L"Arial", L"BU", 14), (KeyFontSpec{L"Arial", 14, false, false, false, false}));
    EXPECT_EQ(keyFontFrom(L"", L"underline", 9), (KeyFontSpec{L"", 9, false, true, false, true}));  // u and i
}

// Contrast against black under 3:1 gets the halo: grey 89 (2.998:1) does, grey 90 (3.04:1) does not;
// pure blue does and pure red does not (0x00BBGGRR).
TEST(KeyFontTest, OnlyCaptionsWithTooLittleContrastAgainstBlackGetAHalo) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0x595959, true}, {0x5A5A5A, false}, {0xFF0000, true}, {0x0000FF, false}, {0x00007F, true}};
    for (const auto& [colour, halo] : cases) EXPECT_EQ(captionNeedsHalo(colour), halo) << std::hex << colour;
}

}  // namespace
}  // namespace tapkeys
