// The floor the benchmarks measure tapkeys against: the least a keyboard of this kind can do under the
// same Wine and display. One 632 x 217 always-on-top popup painted in one fill, a 100 ms timer that asks
// for the foreground window once, and on a press SetForegroundWindow and one keybd_event of "a".
// The popup does not take the activation when pressed (MA_NOACTIVATE): under Wine a floor that did lost
// its keystroke to the activation race about every other press, since the key event reaches whichever
// thread has the focus at that moment, and the target had not yet taken it back.
//
//   bench_floor.exe [X Y]      top-left corner on the screen; default centred like tapkeys

#include <windows.h>
// shellapi.h builds on windows.h.
#include <shellapi.h>

#include <cwchar>

#include "win32/base_window.h"
#include "win32/gdi.h"
#include "win32/window_timer.h"

namespace tapkeys::bench {
namespace {

constexpr int kWidth = 632, kHeight = 217;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 100;
constexpr BYTE kKeyA = 'A';

class FloorWindow final : public BaseWindow<FloorWindow> {
public:
    bool create(HINSTANCE instance, POINT at) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &FloorWindow::windowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"tapkeysBenchFloor";
        ::RegisterClassW(&wc);
        if (!::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName,
                               L"floor", WS_POPUP, at.x, at.y, kWidth, kHeight, nullptr, nullptr, instance,
                               this)) {
            return false;
        }
        timer_ = WindowTimer{hwnd(), kTimerId, kTimerMs};
        ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd());
        return true;
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT: return onPaint(), 0;
            case WM_ERASEBKGND: return 1;
            case WM_TIMER: return onTimer(), 0;
            case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
            case WM_LBUTTONDOWN: return onPress(), 0;
            case WM_DESTROY: return ::PostQuitMessage(0), 0;
            default: return defaultProc(message, wParam, lParam);
        }
    }

private:
    void onPaint() {
        PaintScope paint(hwnd());
        ::FillRect(paint.dc(), &paint.dirty(), static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    }

    void onTimer() {
        const HWND foreground = ::GetForegroundWindow();
        if (::GetWindowThreadProcessId(foreground, nullptr) != ::GetCurrentThreadId() && foreground) {
            target_ = foreground;
        }
    }

    void onPress() {
        ::SetForegroundWindow(target_);
        ::keybd_event(kKeyA, 0, 0, 0);
        ::keybd_event(kKeyA, 0, KEYEVENTF_KEYUP, 0);
    }

    WindowTimer timer_;
    HWND target_ = nullptr;
};

POINT placeFromCommandLine() {
    POINT at{(::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2};
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv != nullptr && argc == 3)
        at = {std::wcstol(argv[1], nullptr, 10), std::wcstol(argv[2], nullptr, 10)};
    ::LocalFree(argv);
    return at;
}

}  // namespace
}  // namespace tapkeys::bench

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    tapkeys::bench::FloorWindow window;
    if (!window.create(instance, tapkeys::bench::placeFromCommandLine())) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
