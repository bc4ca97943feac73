#pragma once
// One key of the physical keyboard as a switch, caught whichever window has the focus: a low-level
// keyboard hook swallows the key (down and up) and posts one message per press to a window. A held
// key's auto-repeat counts once, and keystrokes the program itself injects never count.

#include <windows.h>

namespace tapkeys {

// What the hook posts for each press; the window it goes to handles it.
inline constexpr UINT kSwitchPressMessage = WM_APP + 17;

class SwitchHook {
public:
    // Installs the hook; installed() says whether the system took it. Only one hook lives at a time.
    SwitchHook(HWND receiver, int virtualKey);
    SwitchHook(const SwitchHook&) = delete;
    SwitchHook& operator=(const SwitchHook&) = delete;
    ~SwitchHook();

    bool installed() const { return hook_ != nullptr || suspended_; }
    // The window that gets the presses from now on; returns the one that got them before.
    HWND route(HWND receiver);

    // The program's own keystrokes go out with the hook taken down (suspend), and it comes back when
    // they have gone (resume): under Wine every keystroke waits until the desktop's low-level hooks have
    // seen it, which the benchmark measured at 1.1 to 1.7 ms a key, and this hook would only pass them
    // on. A switch pressed in that moment reaches the window in front.
    void suspend();
    void resume();

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    void install();

    HHOOK hook_ = nullptr;
    bool suspended_ = false;
    HWND receiver_;
    DWORD virtualKey_;
    bool down_ = false;  // between the press and its release, through the auto-repeat
};

// While it lives, a dialog gets the switch presses; then whoever had them before.
class SwitchRoute {
public:
    SwitchRoute(SwitchHook* hook, HWND receiver)
        : hook_(hook), previous_(hook != nullptr ? hook->route(receiver) : nullptr) {}
    SwitchRoute(const SwitchRoute&) = delete;
    SwitchRoute& operator=(const SwitchRoute&) = delete;
    ~SwitchRoute() {
        if (hook_ != nullptr) hook_->route(previous_);
    }

private:
    SwitchHook* hook_;
    HWND previous_;
};

}  // namespace tapkeys
