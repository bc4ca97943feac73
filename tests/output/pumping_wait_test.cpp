#include "output/pumping_wait.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

#include "keyboard/runtime/text.h"
#include "keyboard/runtime/unique_handle.h"

namespace tapkeys {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A message-only window whose WM_APP handler the test supplies.
class MessageSink {
public:
    MessageSink() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &MessageSink::windowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PumpingWaitTestSink";
        ::RegisterClassW(&windowClass);
        hwnd_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;
    ~MessageSink() { ::DestroyWindow(hwnd_); }

    HWND hwnd() const { return hwnd_; }
    std::function<void()> onApp;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<MessageSink*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_APP && self && self->onApp) return self->onApp(), 0;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

milliseconds since(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return std::chrono::duration_cast<milliseconds>(end - start);
}

TEST(PumpingWait, LastsAtLeastItsTime) {
    for (int i = 0; i < 5; ++i) {
        const Clock::time_point start = Clock::now();
        pumpingWait(10);
        EXPECT_GE(Clock::now() - start, milliseconds(10));
    }
}

TEST(PumpingWait, ServesMessagesAsTheyArriveWithoutEndingEarly) {
    MessageSink sink;
    Clock::time_point served{};
    sink.onApp = [&] { served = Clock::now(); };
    const Clock::time_point start = Clock::now();
    std::thread poster([&] {
        std::this_thread::sleep_for(milliseconds(30));
        ::PostMessageW(sink.hwnd(), WM_APP, 0, 0);
    });
    pumpingWait(400);
    const Clock::time_point end = Clock::now();
    poster.join();
    ASSERT_NE(served, Clock::time_point{}) << "the posted message was not dispatched";
    EXPECT_LT(since(start, served), milliseconds(300)) << "the message waited for the end of the pause";
    EXPECT_GE(since(start, end), milliseconds(400));
}

TEST(PumpingWait, NestedWaitEndsTheWaitItInterrupted) {
    MessageSink sink;
    Clock::time_point nestedEnd{};
    int nestedLength = 0;
    sink.onApp = [&] {
        pumpingWait(nestedLength);
        nestedEnd = Clock::now();
    };

    // A longer nested wait: the interrupted one lasts until it is over, and returns at once after.
    nestedLength = 60;
    ::PostMessageW(sink.hwnd(), WM_APP, 0, 0);
    pumpingWait(10);
    Clock::time_point end = Clock::now();
    ASSERT_NE(nestedEnd, Clock::time_point{});
    EXPECT_GE(end, nestedEnd);
    EXPECT_LT(since(nestedEnd, end), milliseconds(100));

    // A shorter nested wait re-arms the shared timer, so the interrupted wait ends with it.
    nestedLength = 20;
    nestedEnd = {};
    const Clock::time_point start = Clock::now();
    ::PostMessageW(sink.hwnd(), WM_APP, 0, 0);
    pumpingWait(1000);
    end = Clock::now();
    ASSERT_NE(nestedEnd, Clock::time_point{});
    EXPECT_LT(since(start, end), milliseconds(700));
}

TEST(PumpingWait, QuitMessageStaysForTheMainLoop) {
    MessageSink sink;
    bool served = false;
    sink.onApp = [&] { served = true; };
    ::PostMessageW(sink.hwnd(), WM_APP, 0, 0);
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
    ASSERT_TRUE(squatter);
    ASSERT_FALSE(KernelHandle(::CreateWaitableTimerA(nullptr, TRUE, name.c_str())));

    MessageSink sink;
    bool served = false;
    sink.onApp = [&] { served = true; };
    ::PostMessageW(sink.hwnd(), WM_APP, 0, 0);
    const Clock::time_point start = Clock::now();
    pumpingWait(40);
    EXPECT_GE(Clock::now() - start, milliseconds(40));
    EXPECT_TRUE(served);
}

}  // namespace
}  // namespace tapkeys
