#include "output/target_window.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "output/send_keys.h"
#include "support/win_test_support.h"
#include "win32/dialog_controls.h"
#include "win32/kernel_handle.h"
#include "win32/message_pump.h"

namespace tapkeys::test {
namespace {

// The application typed into: a window with an edit field, run by a thread of its own.
class ForeignEditWindow {
public:
    ForeignEditWindow() { ::WaitForSingleObject(ready_.get(), INFINITE); }
    ~ForeignEditWindow() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

    HWND window() const { return window_; }
    std::wstring text() const { return windowText(edit_); }

private:
    void run() {
        const TestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, true);
        window_ = window.hwnd();
        edit_ = window.edit();
        threadId_ = ::GetCurrentThreadId();
        ::SetEvent(ready_.get());
        runMessageLoop();
    }

    KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_{[this] { run(); }};  // last: the thread starts once every other member is set
};

// The own window takes the foreground and the focus, as a touch on the keyboard does.
void activate(const TestWindow& own) {
    ::SetForegroundWindow(own.hwnd());
    EXPECT_TRUE(
        pumpUntil([&] { return ::GetForegroundWindow() == own.hwnd() && ::GetFocus() == own.hwnd(); }));
}

// The keyboard's round trip: own window in front, hand-back, one keystroke at once; none may be lost.
TEST(HandBack, EveryKeystrokeSentRightAfterTheHandBackReachesTheTarget) {
    const TestWindow keyboard;
    const ForeignEditWindow target;
    // Under Wine the first input a process injects can be lost before any window takes it; what counts
    // here starts after that.
    activate(keyboard);
    sendKeyEvent(0x10, false);
    sendKeyEvent(0x10, true);
    pumpUntil([] { return false; }, 100ms);
    int ready = 0;
    std::wstring expected;
    for (int i = 0; i < 300; ++i) {
        activate(keyboard);
        ready += giveForegroundTo(target.window()) ? 1 : 0;
        expected += L"abcdefghijklmnopqrstuvwxyz0123456789"[i % 36];
        typeSendKeysItem(expected.substr(expected.size() - 1));
        pumpUntil([&] { return target.text().size() == expected.size(); }, 250ms);
    }
    EXPECT_EQ(ready, 300);
    EXPECT_EQ(target.text(), expected);
}

// Without a live target it returns at once. (A target that does not answer is given up: the end-to-end
// hung-target case.)
TEST(HandBack, ReturnsAtOnceWithoutALiveTarget) {
    EXPECT_FALSE(giveForegroundTo(nullptr));
    const HWND closed = TestWindow().hwnd();
    EXPECT_FALSE(giveForegroundTo(closed));
}

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
