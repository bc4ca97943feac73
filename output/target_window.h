#pragma once
// The window that keystrokes are meant for: the last foreground window of another thread, remembered
// by polling because touching the keyboard brings the keyboard itself to the front.

#include <windows.h>

namespace tapkeys {

// The foreground window, or nullptr while the foreground window belongs to the thread that created
// `ownWindow` (the keyboard, its options dialog and the colour chooser). Windows of any other thread,
// in this process or another, are foreign.
HWND getForeignForegroundWindow(HWND ownWindow);

// Holds `targetWindow`: nullptr until the first foreign foreground window is seen, from then on the
// last one seen. The handle is not owned and may name a window that has since closed.
class TargetTracker {
public:
    HWND targetWindow() const { return targetWindow_; }
    // One poll: a foreign foreground window replaces the target; none leaves it as it is.
    void tick(HWND ownWindow);

private:
    HWND targetWindow_ = nullptr;
};

// SetForegroundWindow(target), then, when target is a live window, waits until its thread has really
// taken the activation and the focus, because the switch completes in the target's own thread a moment
// later and keystrokes sent before then go to the window that is leaving. Window messages other than
// keyboard and pointer input keep being processed while it waits (timers, sent and posted messages,
// painting); presses stay queued until the caller is done, so taps keep their order. At most about
// 100 ms. Returns whether the target was ready in time; with no live target it returns false at once.
bool giveForegroundTo(HWND target);

}  // namespace tapkeys
