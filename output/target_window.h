#pragma once
// The window that keystrokes are meant for: the last foreground window of another thread, remembered
// by polling because touching the keyboard brings the keyboard itself to the front.

#include <windows.h>

#include "win32/foreground_window.h"

namespace tapkeys {

// Holds `targetWindow`: nullptr until the first foreign foreground window is seen, from then on the
// last one seen. The handle is not owned and may name a window that has since closed.
class TargetTracker {
public:
    HWND targetWindow() const { return targetWindow_; }
    // One poll of the window in front. A foreign one replaces the target: a window of any thread but
    // the one that created `ownWindow` (the keyboard, its options dialog and the colour chooser), in
    // this process or another. None leaves the target as it is.
    void tick(const ForegroundWindow& foreground, HWND ownWindow);

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
