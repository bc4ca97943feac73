#include "output/target_window.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "output/send_keys.h"
#include "support/win_test_support.h"
#include "win32/dialog_controls.h"
#include "win32/kernel_handle.h"

namespace tapkeys::test {
namespace {

// A window with an edit field run by a thread of its own: the application typed into. block() makes
// its thread stop answering until unblock(), like a busy application.
class ForeignEditWindow {
public:
    ForeignEditWindow() : thread_([this] { run(); }) { ::WaitForSingleObject(ready_.get(), INFINITE); }
    ForeignEditWindow(const ForeignEditWindow&) = delete;
    ForeignEditWindow& operator=(const ForeignEditWindow&) = delete;
    ~ForeignEditWindow() {
        unblock();
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

    HWND window() const { return window_; }
    std::wstring text() const { return windowText(edit_); }
    void block() const {
        ::PostMessageW(window_, WM_APP, 0, 0);
        ::WaitForSingleObject(blocked_.get(), INFINITE);
    }
    void unblock() const { ::SetEvent(unblock_.get()); }

private:
    void run() {
        TestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, true);
        window.onMessage = [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message != WM_APP) return std::nullopt;
            ::ResetEvent(unblock_.get());
            ::SetEvent(blocked_.get());
            ::WaitForSingleObject(unblock_.get(), 10'000);
            return 0;
        };
        window_ = window.hwnd();
        edit_ = window.edit();
        threadId_ = ::GetCurrentThreadId();
        ::SetEvent(ready_.get());
        for (MSG message{}; ::GetMessageW(&message, nullptr, 0, 0) > 0;) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle blocked_{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    KernelHandle unblock_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;  // last: the thread starts once every other member is set
};

// The own window takes the foreground and the focus, as a touch on the keyboard does.
void activate(const TestWindow& own) {
    ::SetForegroundWindow(own.hwnd());
    EXPECT_TRUE(pumpUntil([&] {
        return ::GetForegroundWindow() == own.hwnd() && ::GetFocus() == own.hwnd();
    })) << "the own window did not come to the front";
}

TEST(TargetWindow, OnlyWindowsOfOtherThreadsAreForeignAndTheTrackerKeepsTheLastOne) {
    const TestWindow keyboard, dialog;
    const ForeignEditWindow first, second;
    TargetTracker tracker;
    const auto foregroundAfter = [&](HWND window) {
        EXPECT_TRUE(bringToFront(window));
        tracker.tick(keyboard.hwnd());
        return getForeignForegroundWindow(keyboard.hwnd());
    };
    EXPECT_EQ(foregroundAfter(keyboard.hwnd()), nullptr);
    EXPECT_EQ(foregroundAfter(dialog.hwnd()), nullptr);
    EXPECT_EQ(tracker.targetWindow(), nullptr);
    EXPECT_EQ(foregroundAfter(first.window()), first.window());
    EXPECT_EQ(tracker.targetWindow(), first.window());
    foregroundAfter(keyboard.hwnd());
    EXPECT_EQ(tracker.targetWindow(), first.window());
    foregroundAfter(second.window());
    foregroundAfter(dialog.hwnd());
    EXPECT_EQ(tracker.targetWindow(), second.window());
}

// The keyboard's round trip: own window in front, hand-back, one keystroke at once; none may be lost.
TEST(HandBack, EveryKeystrokeSentRightAfterTheHandBackReachesTheTarget) {
    const TestWindow keyboard;
    const ForeignEditWindow target;
    constexpr int kKeystrokes = 300;
    int ready = 0;
    std::wstring expected;
    for (int i = 0; i < kKeystrokes; ++i) {
        activate(keyboard);
        ready += giveForegroundTo(target.window()) ? 1 : 0;
        expected += L"abcdefghijklmnopqrstuvwxyz0123456789"[i % 36];
        typeSendKeysItem(expected.substr(expected.size() - 1));
        pumpUntil([&] { return target.text().size() == expected.size(); }, 250ms);
    }
    EXPECT_EQ(ready, kKeystrokes);
    EXPECT_EQ(target.text(), expected);
}

TEST(HandBack, ReturnsAtOnceWithoutALiveTarget) {
    EXPECT_FALSE(giveForegroundTo(nullptr));
    HWND closed = TestWindow().hwnd();
    EXPECT_FALSE(giveForegroundTo(closed));
}

// A press queued while the hand-back waits is not handled inside the wait, where its keystrokes would
// overtake the ones the wait is for; posted messages and timers still are. The press comes next.
TEST(HandBack, PressesArrivingDuringTheWaitStayQueuedInOrder) {
    TestWindow keyboard;
    const ForeignEditWindow target;
    std::wstring seen;
    keyboard.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) seen += L"press" + std::to_wstring(wParam) + L"|";
        if (message == WM_APP) seen += L"app|";
        if (message == WM_TIMER && ::KillTimer(keyboard.hwnd(), wParam)) seen += L"timer|";
        return std::nullopt;
    };
    activate(keyboard);
    target.block();
    ::PostMessageW(keyboard.hwnd(), WM_LBUTTONDOWN, 1, 0);
    ::PostMessageW(keyboard.hwnd(), WM_APP, 0, 0);
    ::PostMessageW(keyboard.hwnd(), WM_LBUTTONDOWN, 2, 0);
    ::SetTimer(keyboard.hwnd(), 1, 10, nullptr);
    EXPECT_FALSE(giveForegroundTo(target.window()));
    target.unblock();
    seen += L"done|";
    pumpFor(50ms);
    EXPECT_EQ(seen, L"app|timer|done|press1|press2|");
}

TEST(HandBack, GivesUpOnATargetThatDoesNotAnswerAndKeepsAQuitMessage) {
    const TestWindow keyboard;
    const ForeignEditWindow target;
    activate(keyboard);
    target.block();
    ::PostQuitMessage(7);
    EXPECT_FALSE(giveForegroundTo(target.window()));
    target.unblock();
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tapkeys::test
