#include "win32/switch_hook.h"

namespace tapkeys {
namespace {

// A low-level hook procedure gets no context of its own; the one hook in place is found here.
SwitchHook* activeHook = nullptr;

}  // namespace

SwitchHook::SwitchHook(HWND receiver, int virtualKey)
    : receiver_(receiver), virtualKey_(static_cast<DWORD>(virtualKey)) {
    if (activeHook != nullptr) return;
    install();
    if (hook_ != nullptr) activeHook = this;
}

SwitchHook::~SwitchHook() {
    if (activeHook != this) return;
    if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
    activeHook = nullptr;
}

void SwitchHook::install() {
    hook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, hookProc, ::GetModuleHandleW(nullptr), 0);
}

void SwitchHook::suspend() {
    if (activeHook != this || hook_ == nullptr) return;
    ::UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    suspended_ = true;
}

void SwitchHook::resume() {
    if (activeHook != this || !suspended_) return;
    suspended_ = false;
    install();
}

HWND SwitchHook::route(HWND receiver) {
    const HWND previous = receiver_;
    receiver_ = receiver;
    return previous;
}

// Runs for every keystroke of the whole desktop, with the system waiting on it: it only posts, so the
// press is handled after the hook has returned and no keystroke waits for typing or painting.
LRESULT CALLBACK SwitchHook::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    SwitchHook* self = activeHook;
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code != HC_ACTION || self == nullptr || key.vkCode != self->virtualKey_ ||
        (key.flags & LLKHF_INJECTED) != 0)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    if (down && !self->down_) ::PostMessageW(self->receiver_, kSwitchPressMessage, 0, 0);
    self->down_ = down;
    return 1;  // swallowed: the window in front never sees the switch
}

}  // namespace tapkeys
