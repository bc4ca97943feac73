#include "output/pumping_wait.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/win_test_support.h"
#include "win32/ansi_text.h"
#include "win32/kernel_handle.h"
#include "win32/module_path.h"

namespace tapkeys::test {
namespace {

using Clock = std::chrono::steady_clock;

// A hidden window whose WM_APP runs onApp, as a handler dispatched inside the wait would.
class Sink : public TestWindow {
public:
    explicit Sink(std::function<void()> onApp) : TestWindow(0) {
        onMessage = [onApp](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            return message == WM_APP ? (onApp(), std::optional<LRESULT>(0)) : std::nullopt;
        };
    }
    void post() const { ::PostMessageW(hwnd(), WM_APP, 0, 0); }
};

TEST(PumpingWait, LastsAtLeastItsTimeAndServesMessagesAsTheyArrive) {
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        pumpingWait(10);
        EXPECT_GE(Clock::now() - start, 10ms);
    }
    Clock::time_point served{};
    const Sink sink([&] { served = Clock::now(); });
    const auto start = Clock::now();
    std::thread poster([&] {
        std::this_thread::sleep_for(30ms);
        sink.post();
    });
    pumpingWait(400);
    const auto end = Clock::now();
    poster.join();
    ASSERT_NE(served, Clock::time_point{}) << "the posted message was not dispatched";
    EXPECT_LT(served - start, 300ms) << "the message waited for the end of the pause";
    EXPECT_GE(end - start, 400ms);
}

TEST(PumpingWait, NestedWaitEndsTheWaitItInterrupted) {
    Clock::time_point nestedEnd{};
    int nestedLength = 60;
    const Sink sink([&] {
        pumpingWait(nestedLength);
        nestedEnd = Clock::now();
    });
    // A longer nested wait: the interrupted one lasts until it is over, and returns at once after.
    sink.post();
    pumpingWait(10);
    auto end = Clock::now();
    ASSERT_NE(nestedEnd, Clock::time_point{});
    EXPECT_GE(end, nestedEnd);
    EXPECT_LT(end - nestedEnd, 100ms);
    // A shorter nested wait re-arms the shared timer, so the interrupted wait ends with it.
    nestedLength = 20;
    nestedEnd = {};
    const auto start = Clock::now();
    sink.post();
    pumpingWait(1000);
    end = Clock::now();
    ASSERT_NE(nestedEnd, Clock::time_point{});
    EXPECT_LT(end - start, 700ms);
}

TEST(PumpingWait, QuitMessageStaysForTheMainLoop) {
    bool served = false;
    const Sink sink([&] { served = true; });
    sink.post();
    ::PostQuitMessage(7);
    pumpingWait(10);
    EXPECT_TRUE(served);
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(PumpingWait, WaitsAndServesMessagesWithoutItsTimer) {
    // An object of another kind holding the timer's name makes the timer impossible to create.
    const std::string name = toAnsi(executableBaseName()) + "Timer";
    const KernelHandle squatter(::CreateMutexA(nullptr, FALSE, name.c_str()));
    ASSERT_FALSE(KernelHandle(::CreateWaitableTimerA(nullptr, TRUE, name.c_str())));
    bool served = false;
    const Sink sink([&] { served = true; });
    sink.post();
    const auto start = Clock::now();
    pumpingWait(40);
    EXPECT_GE(Clock::now() - start, 40ms);
    EXPECT_TRUE(served);
}

}  // namespace
}  // namespace tapkeys::test
