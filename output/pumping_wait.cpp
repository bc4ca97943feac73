#include "output/pumping_wait.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>

#include "win32/ansi_text.h"
#include "win32/kernel_handle.h"
#include "win32/message_pump.h"
#include "win32/module_path.h"

namespace tapkeys {
namespace {

using Clock = std::chrono::steady_clock;

// Every kind of input a handler of this program can wait for.
constexpr DWORD wakeMask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
                           QS_SENDMESSAGE | QS_HOTKEY;

// Without the timer the wait still has to last about its time, on the steady clock.
void pumpUntil(Clock::time_point deadline, MessagePump& pump) {
    for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        const DWORD result =
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(remaining), wakeMask);
        if (result == WAIT_FAILED) ::Sleep(1);
        pump.dispatchPending();
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
    MessagePump pump;
    const KernelHandle timer = armedTimer(milliseconds);
    if (!timer) return pumpUntil(deadline, pump);
    const HANDLE handle = timer.get();
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, wakeMask);
        // Messages are processed once more after the timer fired, before the caller goes on.
        pump.dispatchPending();
        if (result == WAIT_OBJECT_0) return;
        if (result == WAIT_FAILED) return pumpUntil(deadline, pump);
    }
}

}  // namespace tapkeys
