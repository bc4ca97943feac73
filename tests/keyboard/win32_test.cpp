#include "win32/ansi_text.h"
#include "win32/dialog_controls.h"
#include "win32/switch_hook.h"
#include "win32/window_timer.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/win_test_support.h"

namespace tapkeys::test {
namespace {

// Re-arming inside the interval must leave a running timer that still ticks, and stopping it must stop
// the timer named by its id.
TEST(WindowTimerTest, ReArmedWithTheSameIdStillTicksAndStopKillsIt) {
    TestWindow window;
    int ticks = 0;
    window.onMessage = [&](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER && wParam == 7) ++ticks;
        return std::nullopt;
    };
    WindowTimer timer{window.hwnd(), 7, 150};
    pumpUntil([] { return false; }, 50ms);
    timer = WindowTimer{window.hwnd(), 7, 150};
    EXPECT_TRUE(timer.running());
    EXPECT_TRUE(pumpUntil([&] { return ticks > 0; }, 1s)) << "the re-armed timer never ticked";
    timer.stop();
    ticks = 0;
    pumpUntil([] { return false; }, 400ms);
    EXPECT_EQ(ticks, 0);
}

// The program's own keystrokes (injected) are never switch presses and reach the window in front; one
// hook lives at a time, and it routes presses to whichever window took them last.
TEST(SwitchHookTest, InjectedKeysPassAndOneHookAtATime) {
    TestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, true);
    ASSERT_TRUE(bringToFront(window.hwnd()));
    ::SetFocus(window.edit());
    int presses = 0;
    window.onMessage = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kSwitchPressMessage) ++presses;
        return std::nullopt;
    };
    auto hook = std::make_unique<SwitchHook>(window.hwnd(), VK_SPACE);
    ASSERT_TRUE(hook->installed());
    EXPECT_FALSE(SwitchHook(window.hwnd(), VK_F9).installed());
    INPUT space[2]{};
    space[0].type = space[1].type = INPUT_KEYBOARD;
    space[0].ki.wVk = space[1].ki.wVk = VK_SPACE;
    space[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, space, sizeof(INPUT));
    EXPECT_TRUE(pumpUntil([&] { return windowText(window.edit()) == L" "; }, 1s))
        << "the space was swallowed";
    EXPECT_EQ(presses, 0);
    { SwitchRoute dialog{hook.get(), nullptr}; }
    EXPECT_EQ(hook->route(window.hwnd()), window.hwnd()) << "the route did not give the presses back";
    hook.reset();
    EXPECT_TRUE(SwitchHook(window.hwnd(), VK_F9).installed());
}

// A look-alike must not become a path character on its way into a file name (best-fit mapping would
// turn a full-width solidus into "/"), while what the code page holds survives.
TEST(AnsiTextTest, LookAlikesDoNotBecomePathCharacters) {
    const std::string converted = toAnsi(L"\uFF0F\uFF3C\uFF1A");  // full-width / \ :
    EXPECT_EQ(converted.find_first_of("/\\:"), std::string::npos) << converted;
    EXPECT_EQ(fromAnsi(toAnsi(L"abc 123")), L"abc 123");
}

}  // namespace
}  // namespace tapkeys::test
