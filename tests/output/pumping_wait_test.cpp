#include "output/pumping_wait.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "support/win_test_support.h"
#include "win32/ansi_text.h"
#include "win32/kernel_handle.h"
#include "win32/module_path.h"

namespace tapkeys::test {
namespace {

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

// The name of the one timer every wait blocks on; opened here, its state outlives each wait.
std::string timerName() {
    return toAnsi(executableBaseName()) + "Timer";
}

// Order, not time: a message that arrives while the wait runs is served before its timer fires, and
// the wait returns only once the timer has fired.
TEST(PumpingWait, ServesMessagesAsTheyArriveAndReturnsWhenItsTimeIsUp) {
    const KernelHandle timer(::CreateWaitableTimerA(nullptr, TRUE, timerName().c_str())),
        waiting(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::vector<bool> servedBeforeTheTimer;
    const Sink sink(
        [&] { servedBeforeTheTimer.push_back(::WaitForSingleObject(timer.get(), 0) == WAIT_TIMEOUT); });
    std::thread poster([&] {
        ::WaitForSingleObject(waiting.get(), INFINITE);
        sink.post();
    });
    const Sink starter([&] { ::SetEvent(waiting.get()); });
    starter.post();
    pumpingWait(1000);
    poster.join();
    EXPECT_EQ(servedBeforeTheTimer, std::vector<bool>{true});
    EXPECT_EQ(::WaitForSingleObject(timer.get(), 0), WAIT_OBJECT_0) << "returned before its time";
}

// A shorter nested wait re-arms the shared timer, so the wait it interrupted ends right after it, long
// before its own ten minutes. Should it not, a watchdog fires the timer and the test fails instead of
// running into its time-out.
TEST(PumpingWait, NestedWaitEndsTheWaitItInterrupted) {
    const KernelHandle timer(::CreateWaitableTimerA(nullptr, TRUE, timerName().c_str())),
        outerDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::vector<std::string> order;
    bool rescued = false;
    const Sink sink([&] { pumpingWait(20), order.push_back("nested"); });
    std::thread watchdog([&] {
        if (::WaitForSingleObject(outerDone.get(), 60'000) == WAIT_OBJECT_0) return;
        rescued = true;
        LARGE_INTEGER now{};
        ::SetWaitableTimer(timer.get(), &now, 0, nullptr, nullptr, FALSE);
    });
    sink.post();
    pumpingWait(600'000);
    order.push_back("outer");
    ::SetEvent(outerDone.get());
    watchdog.join();
    EXPECT_FALSE(rescued);
    EXPECT_EQ(order, (std::vector<std::string>{"nested", "outer"}));
}

// A quit message stays for the main loop; without its timer (an object of another kind holds the name)
// the wait still serves messages.
TEST(PumpingWait, KeepsAQuitMessageAndWorksWithoutItsTimer) {
    int served = 0;
    const Sink sink([&] { ++served; });
    sink.post();
    ::PostQuitMessage(7);
    pumpingWait(10);
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    const KernelHandle squatter(::CreateMutexA(nullptr, FALSE, timerName().c_str()));
    sink.post();
    pumpingWait(10);
    EXPECT_EQ(served, 2);
}

}  // namespace
}  // namespace tapkeys::test
