#include "output/target_caps_lock.h"

#include <windows.h>

#include <optional>

#include "output/caps_lock_tracker.h"
#include "win32/unique_handle.h"

namespace tapkeys {
namespace {

// This thread's key state is no guide: it changes only as the thread reads keyboard input, and the
// keyboard's input goes to the target. Attaching to the target's input would share its state, but
// Windows resets the key state on attaching (Wine was seen to drop the target's Caps Lock), and the
// "pressed since the last query" bit of GetAsyncKeyState is shared with every program that polls it.
// So the state is read once, at start, and then followed from the raw input of the Caps Lock key,
// which reaches a window of this thread whichever window has the focus, without touching anyone's
// key state or taking a thread of its own.
struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::DestroyWindow(h); }
};

constexpr USHORT kGenericDesktopPage = 0x01, kKeyboardUsage = 0x06;

class CapsLockReading {
public:
    CapsLockReading() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"tapkeysCapsLock";
        ::RegisterClassW(&wc);
        window_.reset(::CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        wc.hInstance, nullptr));
        const RAWINPUTDEVICE keyboard{kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window_.get()};
        following_ = window_ && ::RegisterRawInputDevices(&keyboard, 1, sizeof keyboard);
    }
    bool on() const { return following_ ? tracker_.on() : (::GetKeyState(VK_CAPITAL) & 1) != 0; }
    static CapsLockReading& reading();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INPUT) {
            RAWINPUT input;
            UINT size = sizeof input;
            if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size,
                                  sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
                input.header.dwType == RIM_TYPEKEYBOARD && input.data.keyboard.VKey == VK_CAPITAL)
                reading().tracker_.onKey((input.data.keyboard.Flags & RI_KEY_BREAK) == 0);
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    CapsLockTracker tracker_{(::GetKeyState(VK_CAPITAL) & 1) != 0};
    UniqueHandle<WindowTraits> window_;
    bool following_ = false;
};

CapsLockReading& CapsLockReading::reading() {
    static CapsLockReading reading;  // for the rest of the run
    return reading;
}

}  // namespace

bool capsLockOn() {
    return CapsLockReading::reading().on();
}

void prepareCapsLockReading() {
    CapsLockReading::reading();
}

}  // namespace tapkeys
