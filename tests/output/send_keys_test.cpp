#include "output/send_keys.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <vector>

#include "support/win_test_support.h"
#include "win32/dialog_controls.h"

namespace tapkeys::test {
namespace {

LRESULT CALLBACK recordKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR keys) {
    if (message == WM_KEYDOWN || message == WM_KEYUP) {
        reinterpret_cast<std::vector<MSG>*>(keys)->push_back({hwnd, message, wParam, lParam, 0, {}});
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// Into a focused edit in the foreground: keys with the 0xE0 prefix carry the extended flag, or
// applications read them as the numeric keypad's twins; every key event carries its real scan code.
TEST(SendKeyEvent, CarriesTheRealScanCodeAndTheExtendedFlag) {
    const TestWindow window{WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, true};
    std::vector<MSG> keys;
    ::SetWindowSubclass(window.edit(), &recordKeys, 1, reinterpret_cast<DWORD_PTR>(&keys));
    ASSERT_TRUE(bringToFront(window.hwnd())) << "the test window did not come to the foreground";
    ::SetFocus(window.edit());
    ::SetWindowTextW(window.edit(), L"abc");
    ::SendMessageW(window.edit(), EM_SETSEL, 3, 3);
    const std::pair<UINT, WPARAM> expected[] = {
        {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}, {WM_KEYDOWN, VK_BACK}, {WM_KEYUP, VK_BACK}};
    for (const auto& [message, key] : expected)
        sendKeyEvent(static_cast<std::uint8_t>(key), message == WM_KEYUP);
    ASSERT_TRUE(pumpUntil([&] { return keys.size() >= 4 && windowText(window.edit()) == L"ac"; }));
    for (size_t i = 0; i < 4; ++i) {
        const auto scanCode = (keys[i].lParam >> 16) & 0xFF, extended = (keys[i].lParam >> 24) & 1;
        EXPECT_EQ(std::pair(keys[i].message, keys[i].wParam), expected[i]) << i;
        EXPECT_TRUE(scanCode != 0 && scanCode == ::MapVirtualKeyW(UINT(expected[i].second), MAPVK_VK_TO_VSC))
            << i;
        EXPECT_EQ(extended, expected[i].second == VK_LEFT) << i;
    }
}

}  // namespace
}  // namespace tapkeys::test
