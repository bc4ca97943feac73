#include "win32/ansi_text.h"
#include "win32/window_timer.h"

#include <gtest/gtest.h>

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

// A look-alike must not become a path character on its way into a file name (best-fit mapping would
// turn a full-width solidus into "/"), while what the code page holds survives.
TEST(AnsiTextTest, LookAlikesDoNotBecomePathCharacters) {
    const std::string converted = toAnsi(L"\uFF0F\uFF3C\uFF1A");  // full-width / \ :
    EXPECT_EQ(converted.find_first_of("/\\:"), std::string::npos) << converted;
    EXPECT_EQ(fromAnsi(toAnsi(L"abc 123")), L"abc 123");
}

}  // namespace
}  // namespace tapkeys::test
