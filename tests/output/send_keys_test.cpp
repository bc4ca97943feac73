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
        ::SendMessageW(window.edit(), EM_SETSEL, 100, 100);
    }
    // What one item types into an empty edit, with time for anything further that would arrive.
    std::wstring typed(std::wstring_view item) {
        setText(L"");
        typeSendKeysItem(item);
        pumpUntil([&] { return !text().empty(); });
        pumpFor(50ms);
        return text();
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

// On the layout or as Unicode, and under Caps Lock as without it.
TEST_F(TypingTarget, ItemsTypeExactlyTheirCharacter) {
    const auto toggleCapsLock = [] {
        const bool wasOn = ::GetKeyState(VK_CAPITAL) & 1;
        sendKeyEvent(VK_CAPITAL, false);
        sendKeyEvent(VK_CAPITAL, true);
        return pumpUntil([&] { return (::GetKeyState(VK_CAPITAL) & 1) != wasOn; });
    };
    for (const int capsLockToggled : {0, 1}) {
        for (const std::wstring_view item : {L"a", L"A", L"7", L" ", L"{+}", L"{~}", L"{^}", L"{%}", L"{(}",
                                             L"{{}", L"{}}", L"\u00e9", L"\u20ac", L"\u0436"}) {
            EXPECT_EQ(typed(item), item.size() == 3 ? item.substr(1, 1) : item)
                << std::wstring(item) << capsLockToggled;
        }
        ASSERT_TRUE(toggleCapsLock());
    }
}

// Arrows are extended keys: without the flag applications read them as the numeric keypad's.
TEST_F(TypingTarget, KeyEventCarriesScanCodeAndExtendedBit) {
    setText(L"abc");
    const std::pair<UINT, WPARAM> expected[] = {
        {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}, {WM_KEYDOWN, VK_BACK}, {WM_KEYUP, VK_BACK}};
    for (const auto& [message, key] : expected)
        sendKeyEvent(static_cast<std::uint8_t>(key), message == WM_KEYUP);
    ASSERT_TRUE(pumpUntil([&] { return keyMessages.size() >= 4; }));
    for (size_t i = 0; i < 4; ++i) {
        const auto lParam = static_cast<UINT>(keyMessages[i].lParam);
        EXPECT_EQ(std::pair(keyMessages[i].message, keyMessages[i].wParam), expected[i]) << i;
        EXPECT_EQ((lParam >> 16) & 0xFF,
                  ::MapVirtualKeyW(static_cast<UINT>(expected[i].second), MAPVK_VK_TO_VSC));
        EXPECT_NE((lParam >> 16) & 0xFF, 0u) << i;
        EXPECT_EQ((lParam >> 24) & 1, expected[i].second == VK_LEFT ? 1u : 0u) << i;
    }
    EXPECT_TRUE(pumpUntil([&] { return text() == L"ac"; })) << text();
}

// Safe mode's caret nudges must leave the caret where it was.
TEST_F(TypingTarget, KeyStringsTypeThroughTheSystemOutputWithAndWithoutSafeMode) {
    bool useSafeMode = false;
    int doneCount = 0;
    SystemKeyOutput out(useSafeMode, [&] { ++doneCount; });
    setText(L"");
    sendKeyString(L"ab{BKSP}c+", out);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"ac+"; })) << text();
    useSafeMode = true;
    setText(L"xy");
    sendKeyString(L"{BKSP}z", out);
    EXPECT_TRUE(pumpUntil([&] { return text() == L"xz"; })) << text();
    EXPECT_EQ(doneCount, 2);
}

}  // namespace
}  // namespace tapkeys::test
