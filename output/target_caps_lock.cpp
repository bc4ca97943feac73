#include "output/target_caps_lock.h"

#include <thread>

#include "win32/kernel_handle.h"
#include "win32/wine.h"

namespace tapkeys {
namespace {

bool toggledOn(int virtualKey) {
    return (::GetKeyState(virtualKey) & 1) != 0;
}

// Windows: attached to the target's input for a moment, this thread shares the target's key state; on its
// own it would keep the state of the last keyboard input it read, and it reads none.
bool capsLockAttachedTo(DWORD thread) {
    const DWORD own = ::GetCurrentThreadId();
    if (thread == 0 || thread == own || !::AttachThreadInput(own, thread, TRUE)) return toggledOn(VK_CAPITAL);
    const bool on = toggledOn(VK_CAPITAL);
    ::AttachThreadInput(own, thread, FALSE);
    return on;
}

// Wine: attaching to the target's input was seen to reset the target's Caps Lock, and this thread's
// own key state lags while it handles a press. A thread that never reads input follows the system's key
// state (its changes from the thread's start on), so one is started with the keyboard and asked.
class KeyStateThread {
public:
    KeyStateThread() {
        std::thread([this] { run(); }).detach();
        ::WaitForSingleObject(ready_.get(), INFINITE);
    }
    // Asking the thread costs a thread switch, most of a key's time under Wine, so it is asked again
    // only once Caps Lock has been pressed since the last look or is held down.
    bool capsLock() {
        if (!known_ || (::GetAsyncKeyState(VK_CAPITAL) & 0x8001) != 0) {
            capsLock_ = window_ != nullptr ? ::SendMessageW(window_, WM_APP, VK_CAPITAL, 0) != 0
                                           : toggledOn(VK_CAPITAL);
            known_ = true;
        }
        return capsLock_;
    }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) return toggledOn(static_cast<int>(wParam));
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"tapkeysKeyState";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    wc.hInstance, nullptr);
        ::SetEvent(ready_.get());
        for (MSG message{}; ::GetMessageW(&message, nullptr, 0, 0) > 0;) ::DispatchMessageW(&message);
    }

    KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    bool known_ = false, capsLock_ = false;
};

KeyStateThread& keyStateThread() {
    static KeyStateThread keyState;  // for the rest of the run
    return keyState;
}

}  // namespace

bool capsLockOf(DWORD thread) {
    if (!runningUnderWine()) return capsLockAttachedTo(thread);
    return keyStateThread().capsLock();
}

void prepareCapsLockReading() {
    if (runningUnderWine()) keyStateThread().capsLock();
}

}  // namespace tapkeys
