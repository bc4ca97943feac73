#include "output/send_keys.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "output/key_string_sender.h"
#include "output/system_key_output.h"
#include "support/win_test_support.h"
#include "win32/dialog_controls.h"

namespace tapkeys::test {
namespace {

// A focused edit control in the foreground, as the target of a key press would be; its key messages
// are recorded on their way in.
class TypingTarget : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetWindowSubclass(window.edit(), &recordKeys, 1, reinterpret_cast<DWORD_PTR>(&keyMessages));
        ASSERT_TRUE(bringToFront(window.hwnd())) << "the test window did not come to the foreground";
        ::SetFocus(window.edit());
    }

    std::wstring text() const { return windowText(window.edit()); }
    void setText(const wchar_t* value) {
        ::SetWindowTextW(window.edit(), value);
        const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(window.edit()));
        ::SendMessageW(window.edit(), EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    // What one item types into an empty edit, with time for anything further that would arrive.
    std::wstring typed(std::wstring_view item) {
        setText(L"");
        typeSendKeysItem(item);
        pumpUntil([&] { return !text().empty(); });
        pumpFor(50ms);
        return text();
    }
    DWORD caret() const {
        DWORD start = 0;
        ::SendMessageW(window.edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        return start;
    }

    static LRESULT CALLBACK recordKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR messages) {
        if (message == WM_KEYDOWN || message == WM_KEYUP) {
            reinterpret_cast<std::vector<MSG>*>(messages)->push_back({hwnd, message, wParam, lParam, 0, {}});
        }
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }

    std::vector<MSG> keyMessages;
    TestWindow window{WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, true};
};

TEST_F(TypingTarget, ItemsTypeExactlyTheirCharacterOnTheLayoutOrAsUnicode) {
    for (const std::wstring_view item : {L"a", L"A", L"7", L" ", L"{+}", L"{~}", L"{^}", L"{%}", L"{(}",
                                         L"{{}", L"{}}", L"\u00e9", L"\u20ac", L"\u0436"}) {
        EXPECT_EQ(typed(item), item.size() == 3 ? item.substr(1, 1) : item) << std::wstring(item);
    }
}

TEST_F(TypingTarget, CapsLockDoesNotChangeTheCharacter) {
    const auto capsLockIs = [](bool on) { return ((::GetKeyState(VK_CAPITAL) & 1) != 0) == on; };
    const auto toggleCapsLock = [] {
        sendKeyEvent(VK_CAPITAL, false);
        sendKeyEvent(VK_CAPITAL, true);
    };
    const bool wasOn = capsLockIs(true);
    toggleCapsLock();
    ASSERT_TRUE(pumpUntil([&] { return capsLockIs(!wasOn); }));
    const std::wstring lower = typed(L"q"), upper = typed(L"Q");
    toggleCapsLock();
    pumpUntil([&] { return capsLockIs(wasOn); });
    EXPECT_EQ(lower, L"q");
    EXPECT_EQ(upper, L"Q");
}

TEST_F(TypingTarget, ArrowItemsMoveTheCaret) {
    setText(L"abc");
    typeSendKeysItem(L"{LEFT}");
    EXPECT_TRUE(pumpUntil([&] { return caret() == 2; }));
    typeSendKeysItem(L"x");
    EXPECT_TRUE(pumpUntil([&] { return text() == L"abxc"; })) << text();
    typeSendKeysItem(L"{RIGHT}");
    EXPECT_TRUE(pumpUntil([&] { return caret() == 4; }));
}

TEST_F(TypingTarget, KeyEventCarriesScanCodeAndExtendedBit) {
    setText(L"abc");
    const std::pair<UINT, WPARAM> expected[] = {
        {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}, {WM_KEYDOWN, VK_BACK}, {WM_KEYUP, VK_BACK}};
    for (const auto& [message, key] : expected)
        sendKeyEvent(static_cast<std::uint8_t>(key), message == WM_KEYUP);
    ASSERT_TRUE(pumpUntil([&] { return keyMessages.size() >= 4; }));
    for (size_t i = 0; i < 4; ++i) {
        const auto lParam = static_cast<UINT>(keyMessages[i].lParam);
        EXPECT_EQ(keyMessages[i].message, expected[i].first) << i;
        EXPECT_EQ(keyMessages[i].wParam, expected[i].second) << i;
        EXPECT_EQ((lParam >> 16) & 0xFF,
                  ::MapVirtualKeyW(static_cast<UINT>(expected[i].second), MAPVK_VK_TO_VSC));
        EXPECT_NE((lParam >> 16) & 0xFF, 0u) << i;
        EXPECT_EQ((lParam >> 24) & 1, expected[i].second == VK_LEFT ? 1u : 0u) << i;
    }
    EXPECT_TRUE(pumpUntil([&] { return text() == L"ac"; })) << text();
}

TEST_F(TypingTarget, KeyStringsTypeThroughTheSystemOutput) {
    bool useSafeMode = false;
    int doneCount = 0;
    SystemKeyOutput out(useSafeMode, [&] { ++doneCount; });
    setText(L"");
    sendKeyString(L"ab{BKSP}c+", out);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"ac+"; })) << text();
    EXPECT_EQ(doneCount, 1);
    useSafeMode = true;
    setText(L"xy");
    sendKeyString(L"{BKSP}z", out);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"xz"; })) << text();
    EXPECT_EQ(doneCount, 2);
}

}  // namespace
}  // namespace tapkeys::test
