#include "keyboard/topmost_keeper.h"

#include "win32/wine.h"

namespace tapkeys {
namespace {

// Long enough for the activated window's process to have raised its window.
constexpr UINT kSettleMs = 60;

}  // namespace

void TopmostKeeper::restack() const {
    if (!(::GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    ::SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

void TopmostKeeper::afterHandBack() {
    if (!runningUnderWine()) return;
    // At once as well: the taps that waited for the hand-back are routed by what lies on top when they
    // are read, and the target may already have raised itself over the keyboard.
    restack();
    settle_ = WindowTimer{window_, kTimerId, kSettleMs};
}

void TopmostKeeper::poll(HWND foreground) {
    if (!runningUnderWine()) return;
    if (foreground == lastForeground_) return;
    lastForeground_ = foreground;
    settle_ = WindowTimer{window_, kTimerId, kSettleMs};
}

void TopmostKeeper::onTimer() {
    settle_.stop();
    restack();
}

}  // namespace tapkeys
