#include "win32/foreground_window.h"

namespace tapkeys {

ForegroundWindow foregroundWindow() {
    // Per thread: each thread asks about the windows it types to.
    thread_local ForegroundWindow last;
    const HWND window = ::GetForegroundWindow();
    if (window == nullptr) return {};
    if (window == last.window) return last;
    ForegroundWindow now{window};
    now.thread = ::GetWindowThreadProcessId(window, &now.process);
    if (now.thread != 0) last = now;  // closed since: nothing to keep
    return now;
}

}  // namespace tapkeys
