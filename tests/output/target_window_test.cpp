#include "output/target_window.h"

#include <gtest/gtest.h>
#include <windows.h>

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

// A window run by a thread of its own: the application typed into, with an edit field and a message
// loop; or, busy, a hidden one (so never active before a hand-back) whose thread reads none of its
// messages while the object lives, like a busy program.
class ThreadWindow {
public:
    explicit ThreadWindow(bool busy = false) : busy_(busy) { ::WaitForSingleObject(ready_.get(), INFINITE); }
    ~ThreadWindow() {
        ::SetEvent(release_.get());
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

    HWND window() const { return window_; }
    std::wstring text() const { return windowText(edit_); }

private:
    void run() {
        const TestWindow window(busy_ ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, !busy_);
        window_ = window.hwnd();
        edit_ = window.edit();
        threadId_ = ::GetCurrentThreadId();
        ::SetEvent(ready_.get());
        if (busy_) ::WaitForSingleObject(release_.get(), INFINITE);
        if (!busy_) runMessageLoop();
    }

    const bool busy_;
    KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle release_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
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

// The target is the last window of another thread seen in front, never the keyboard's own; the maker
// read with the window in front is that window's, also when another one comes in front after it.
TEST(TargetTracker, FollowsTheWindowInFrontButNotTheKeyboard) {
    const TestWindow keyboard;
    const ThreadWindow first, second;
    TargetTracker tracker;
    const auto tickWith = [&](HWND front) {
        ::SetForegroundWindow(front);
        EXPECT_TRUE(pumpUntil([&] { return ::GetForegroundWindow() == front; }));
        const ForegroundWindow seen = foregroundWindow();
        EXPECT_EQ(seen.window, front);
        EXPECT_EQ(seen.thread, ::GetWindowThreadProcessId(front, nullptr));
        EXPECT_EQ(seen.process, ::GetCurrentProcessId());
        tracker.tick(seen, keyboard.hwnd());
        return tracker.targetWindow();
    };
    EXPECT_EQ(tickWith(keyboard.hwnd()), nullptr);
    EXPECT_EQ(tickWith(first.window()), first.window());
    EXPECT_EQ(tickWith(keyboard.hwnd()), first.window());
    EXPECT_EQ(tickWith(second.window()), second.window());
    EXPECT_EQ(tickWith(first.window()), first.window());
}

// The keyboard's round trip: own window in front, hand-back, one keystroke at once; none may be lost.
TEST(HandBack, EveryKeystrokeSentRightAfterTheHandBackReachesTheTarget) {
    const TestWindow keyboard;
    const ThreadWindow target;
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

// A press queued while the hand-back waits is not handled inside the wait, where its keystrokes would
// overtake the ones the wait is for; posted messages and timers still are. The press comes next.
TEST(HandBack, PressesArrivingDuringTheWaitStayQueuedInOrder) {
    TestWindow keyboard;
    const ThreadWindow target(true);
    std::wstring seen;
    keyboard.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) seen += L"press" + std::to_wstring(wParam) + L"|";
        if (message == WM_APP) seen += L"app|";
        if (message == WM_TIMER && ::KillTimer(keyboard.hwnd(), wParam)) seen += L"timer|";
        return std::nullopt;
    };
    activate(keyboard);
    for (const auto& [message, wParam] : {std::pair{WM_LBUTTONDOWN, 1}, {WM_APP, 0}, {WM_LBUTTONDOWN, 2}})
        ::PostMessageW(keyboard.hwnd(), message, wParam, 0);
    ::SetTimer(keyboard.hwnd(), 1, 10, nullptr);
    EXPECT_FALSE(giveForegroundTo(target.window()));
    seen += L"done|";
    pumpUntil([] { return false; }, 50ms);
    EXPECT_EQ(seen, L"app|timer|done|press1|press2|");
}

// Into the focused window in the foreground: keys with the 0xE0 prefix carry the extended flag, or
// applications read them as the numeric keypad's twins; every key event carries its real scan code.
TEST(SendKeyEvent, CarriesTheRealScanCodeAndTheExtendedFlag) {
    TestWindow window;
    std::vector<MSG> keys;
    window.onMessage = [&](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_KEYDOWN || message == WM_KEYUP)
            keys.push_back({nullptr, message, wParam, lParam, 0, {}});
        return std::nullopt;
    };
    activate(window);
    const std::pair<UINT, WPARAM> expected[] = {
        {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}, {WM_KEYDOWN, VK_BACK}, {WM_KEYUP, VK_BACK}};
    for (const auto& [message, key] : expected)
        sendKeyEvent(static_cast<std::uint8_t>(key), message == WM_KEYUP);
    ASSERT_TRUE(pumpUntil([&] { return keys.size() >= 4; }));
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
