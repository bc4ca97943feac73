#include "keyboard/key_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tapkeys {
namespace {

// Records what the key map asks of the window, in order, and ends every key string the way the
// sender does: by releasing a pending one-shot Shift.
class RecordingHost : public KeyboardHost {
public:
    KeyMap* keyMap = nullptr;
    std::vector<std::wstring> events;

    void giveForegroundToTarget() override { events.push_back(L"foreground"); }
    void sendKeyString(std::wstring_view keyString) override {
        events.push_back(L"send:" + std::wstring(keyString));
        keyMap->releaseOneShotShift();
    }
    void keyCaptionsChanged() override { events.push_back(L"captions:" + captions()); }

    std::wstring captions() const {
        std::wstring all;
        for (int i = 0; i < 3; ++i) all += keyMap->keyCharacter(i).empty() ? L"_" : keyMap->keyCharacter(i);
        return all;
    }
};

class KeyMapTest : public ::testing::Test {
protected:
    RecordingHost host;
    KeyMap keys{host};

    void SetUp() override {
        host.keyMap = &keys;
        keys.keySetLC = L"abc";
        keys.keySetUC = L"ABC";
        keys.showKeySet(false);
        host.events.clear();
    }
    std::vector<std::wstring> take() { return std::exchange(host.events, {}); }
};

using Events = std::vector<std::wstring>;

TEST_F(KeyMapTest, ShowKeySetPutsOneCharacterPerKeyAndBlanksPastTheEnd) {
    keys.keySetLC = L"0123456789012345678901234567890123456789";  // 40 characters
    keys.showKeySet(false);
    EXPECT_EQ(keys.keyCharacter(0), L"0");
    EXPECT_EQ(keys.keyCharacter(39), L"9");
    for (int i = 40; i < kCharacterKeyCount; ++i) EXPECT_TRUE(keys.keyCharacter(i).empty()) << i;
    keys.showKeySet(true);
    EXPECT_EQ(keys.keyCharacter(2), L"C");
    EXPECT_TRUE(keys.keyCharacter(3).empty());
}

TEST_F(KeyMapTest, CharactersBeyondTheLastKeyBelongToNoKey) {
    keys.keySetLC = std::wstring(kCharacterKeyCount, L'x') + L"yz";
    keys.showKeySet(false);
    EXPECT_EQ(keys.keyCharacter(kCharacterKeyCount - 1), L"x");
    EXPECT_TRUE(keys.keyCharacter(kCharacterKeyCount).empty());
}

TEST_F(KeyMapTest, CharacterKeySendsWhatItShowsAfterHandingBackTheForeground) {
    keys.onCharacterKey(1);
    EXPECT_EQ(take(), (Events{L"foreground", L"send:b"}));
}

TEST_F(KeyMapTest, OneShotShiftSendsTheShiftedCharacterThenReturnsToNormal) {
    keys.onShift(false);
    EXPECT_EQ(keys.shiftState(), ShiftState::OneShot);
    EXPECT_EQ(take(), (Events{L"foreground", L"captions:ABC"}));
    keys.onCharacterKey(0);
    EXPECT_EQ(take(), (Events{L"foreground", L"send:A", L"captions:abc"}));
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
}

TEST_F(KeyMapTest, ShiftIsReleasedByNamedKeysAndByEmptyKeysToo) {
    for (Control named : {Control::Space, Control::Backspace, Control::Return, Control::Esc, Control::Tab}) {
        keys.onShift(false);
        keys.onNamedKey(named);
        EXPECT_EQ(keys.shiftState(), ShiftState::None);
    }
    keys.onShift(false);
    take();
    keys.onCharacterKey(10);  // past the end of the three-character sets
    EXPECT_EQ(take(), (Events{L"foreground", L"send:", L"captions:abc"}));
}

TEST_F(KeyMapTest, NamedKeysSendTheirKeyStringsUnshifted) {
    keys.onShift(false);
    take();
    keys.onNamedKey(Control::Return);
    EXPECT_EQ(take(), (Events{L"foreground", L"send:{ENTER}", L"captions:abc"}));
    keys.onNamedKey(Control::Esc);
    keys.onNamedKey(Control::Tab);
    keys.onNamedKey(Control::Backspace);
    keys.onNamedKey(Control::Space);
    EXPECT_EQ(take(), (Events{L"foreground", L"send:{ESC}", L"foreground", L"send:{TAB}", L"foreground",
                              L"send:{BKSP}", L"foreground", L"send: "}));
}

TEST_F(KeyMapTest, CapsLockSurvivesKeyStringsUntilToggled) {
    keys.onCapsLock();
    EXPECT_EQ(keys.shiftState(), ShiftState::CapsLock);
    take();
    keys.onCharacterKey(0);
    keys.onCharacterKey(2);
    EXPECT_EQ(take(), (Events{L"foreground", L"send:A", L"foreground", L"send:C"}));
    keys.onCapsLock();
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
    EXPECT_EQ(take(), (Events{L"foreground", L"captions:abc"}));
}

// Every row of the state table where Shift and Caps Lock meet.
TEST_F(KeyMapTest, ShiftAndCapsLockSwitchEachOtherOff) {
    keys.onCapsLock();
    keys.onShift(false);
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
    EXPECT_EQ(host.captions(), L"abc");

    keys.onShift(false);
    keys.onCapsLock();
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
    EXPECT_EQ(host.captions(), L"abc");

    keys.onShift(false);
    keys.onShift(false);
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
}

TEST_F(KeyMapTest, DoubleTapOnShiftCountsOnlyTheFirstPress) {
    keys.onShift(false);
    keys.onShift(true);
    EXPECT_EQ(keys.shiftState(), ShiftState::OneShot);

    keys.onCapsLock();  // off again
    keys.onCapsLock();  // caps on
    take();
    keys.onShift(false);
    keys.onShift(true);
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
    EXPECT_EQ(take(), (Events{L"foreground", L"captions:abc"}));
}

TEST_F(KeyMapTest, DoubleTapOnCapsLockSwitchesItOnAndOff) {
    keys.onCapsLock();
    keys.onCapsLock();
    EXPECT_EQ(keys.shiftState(), ShiftState::None);
}

// A key touched inside the sender's pause changes the captions; the interrupted key string still
// carries the character that was touched.
TEST_F(KeyMapTest, KeyStringIsTakenFromTheKeyWhenItIsPressed) {
    class ReentrantHost : public RecordingHost {
    public:
        bool nested = false;
        void giveForegroundToTarget() override {
            RecordingHost::giveForegroundToTarget();
            if (!nested) {
                nested = true;
                keyMap->onCapsLock();
            }
        }
    } reentrant;
    KeyMap map{reentrant};
    reentrant.keyMap = &map;
    map.keySetLC = L"abc";
    map.keySetUC = L"ABC";
    map.showKeySet(false);
    reentrant.events.clear();
    map.onCharacterKey(0);
    EXPECT_EQ(reentrant.events.back(), L"send:a");
    EXPECT_EQ(map.keyCharacter(0), L"A");
}

TEST(NamedKeyStringTest, OnlyTheFiveNamedKeysSendSomething) {
    EXPECT_EQ(namedKeyString(Control::Space), L" ");
    EXPECT_TRUE(namedKeyString(Control::Shift).empty());
    EXPECT_TRUE(namedKeyString(Control::Close).empty());
    EXPECT_TRUE(namedKeyString(Control::Key).empty());
}

}  // namespace
}  // namespace tapkeys
