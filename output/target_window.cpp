#include "output/target_window.h"

#include <algorithm>
#include <chrono>

#include "win32/message_pump.h"

namespace tapkeys {

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for a busy target to finish activating, short enough not to be felt per key.
constexpr auto kFocusWaitLimit = std::chrono::milliseconds(100);
constexpr DWORD kPollMilliseconds = 1;

DWORD creatingThread(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr);
}

// Activation and focus are a thread's own state: Windows switches the foreground window at once but
// lets the target's thread activate itself and set its focus when it next runs.
bool hasTakenFocus(HWND root, DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(thread, &info)) return false;
    return info.hwndActive == root && info.hwndFocus != nullptr && ::GetForegroundWindow() == root;
}

}  // namespace

void TargetTracker::tick(const ForegroundWindow& foreground, HWND ownWindow) {
    if (foreground.window != nullptr && foreground.thread != creatingThread(ownWindow))
        targetWindow_ = foreground.window;
}

bool giveForegroundTo(HWND target) {
    ::SetForegroundWindow(target);
    if (target == nullptr || !::IsWindow(target)) return false;
    const HWND root = ::GetAncestor(target, GA_ROOT);
    const DWORD thread = creatingThread(root);
    const auto deadline = Clock::now() + kFocusWaitLimit;
    MessagePump pump;
    while (!hasTakenFocus(root, thread)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        const auto timeout = std::min<DWORD>(kPollMilliseconds, static_cast<DWORD>(left.count()));
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout, (QS_ALLEVENTS & ~QS_INPUT) | QS_SENDMESSAGE);
        // A touch arriving now waits its turn: handled here, its keystrokes would overtake these.
        if (!pump.dispatchPendingExceptInput()) return false;
    }
    return true;
}

}  // namespace tapkeys
