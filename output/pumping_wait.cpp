#include "output/pumping_wait.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "keyboard/runtime/text.h"
#include "keyboard/runtime/unique_handle.h"

namespace tapkeys {
namespace {

using Clock = std::chrono::steady_clock;

// QS_KEY to QS_HOTKEY: every kind of input a handler of this program can wait for.
constexpr DWORD wakeMask = 0xFF;

// A WM_QUIT taken from the queue here would be lost to the main loop, which must still see it.
class QuitKeeper {
public:
    QuitKeeper() = default;
    QuitKeeper(const QuitKeeper&) = delete;
    QuitKeeper& operator=(const QuitKeeper&) = delete;
    ~QuitKeeper() {
        if (exitCode_) ::PostQuitMessage(*exitCode_);
    }
    void keep(WPARAM exitCode) { exitCode_ = static_cast<int>(exitCode); }

private:
    std::optional<int> exitCode_;
};

void processPendingMessages(QuitKeeper& quit) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit.keep(message.wParam);
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Without the timer the wait still has to last about its time, on the steady clock.
void pumpUntil(Clock::time_point deadline, QuitKeeper& quit) {
    for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        const DWORD result =
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(remaining), wakeMask);
        if (result == WAIT_FAILED) ::Sleep(1);
        processPendingMessages(quit);
    }
}

KernelHandle armedTimer(int milliseconds) {
    const std::string name = toAnsi(executableBaseName()) + "Timer";
    KernelHandle timer(::CreateWaitableTimerA(nullptr, TRUE, name.c_str()));
    if (!timer) return timer;
    // Negative: relative to now, in 100-nanosecond units.
    LARGE_INTEGER dueTime;
    dueTime.QuadPart = -static_cast<std::int64_t>(milliseconds) * 10'000;
    if (!::SetWaitableTimer(timer.get(), &dueTime, 0, nullptr, nullptr, FALSE)) timer.reset();
    return timer;
}

}  // namespace

void pumpingWait(int milliseconds) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    QuitKeeper quit;
    const KernelHandle timer = armedTimer(milliseconds);
    if (!timer) return pumpUntil(deadline, quit);
    const HANDLE handle = timer.get();
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, wakeMask);
        // Messages are processed once more after the timer fired, before the caller goes on.
        processPendingMessages(quit);
        if (result == WAIT_OBJECT_0) return;
        if (result == WAIT_FAILED) return pumpUntil(deadline, quit);
    }
}

}  // namespace tapkeys
