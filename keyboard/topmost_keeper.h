#pragma once
// Keeps the keyboard in front under Wine; on Windows it does nothing.

#include <windows.h>

#include "win32/window_timer.h"

namespace tapkeys {

// Wine's X11 driver raises a window that becomes active above every other window on the screen,
// topmost ones included, although its own Z-order still has the topmost window in front: the keyboard
// then vanishes behind the window it just typed into, and presses on the hidden part reach that window.
// Setting the Z-order again brings the picture back in line. The raise comes from the activated
// window's own process a moment after the activation, so the keeper sets the order again shortly after
// every hand-back and whenever its poll sees another foreground window.
class TopmostKeeper {
public:
    static constexpr UINT_PTR kTimerId = 0x7E;

    explicit TopmostKeeper(HWND window = nullptr) : window_(window) {}
    void afterHandBack();        // the keyboard has just given the foreground away
    void poll(HWND foreground);  // from the keyboard's regular focus timer, with the window in front
    void onTimer();              // kTimerId fired

private:
    void restack() const;

    HWND window_;
    HWND lastForeground_ = nullptr;
    WindowTimer settle_;
};

}  // namespace tapkeys
