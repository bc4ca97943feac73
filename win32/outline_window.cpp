#include "win32/outline_window.h"

#include "win32/gdi.h"

namespace tapkeys {
namespace {

constexpr wchar_t kClassName[] = L"tapkeysOutline";

}  // namespace

OutlineWindow::~OutlineWindow() {
    destroy();
}

void OutlineWindow::destroy() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

LRESULT CALLBACK OutlineWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_ERASEBKGND: {
            RECT r{};
            ::GetClientRect(hwnd, &r);
            const Brush brush{
                ::CreateSolidBrush(static_cast<COLORREF>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))};
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush.get());
            return 1;
        }
        default: return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void OutlineWindow::show(HWND owner, const RECT& around, int gap, int thickness, COLORREF colour) {
    if (hwnd_ == nullptr) {
        static const ATOM registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = windowProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = kClassName;
            return ::RegisterClassW(&wc);
        }();
        (void)registered;
        hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT, kClassName, L"",
                                  WS_POPUP, 0, 0, 0, 0, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (hwnd_ == nullptr) return;
    }
    const int out = gap + thickness;
    const RECT outer{around.left - out, around.top - out, around.right + out, around.bottom + out};
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    // The frame is the window's shape: inside it the dialog shows through and takes the pointer.
    HRGN frame = ::CreateRectRgn(0, 0, width, height);
    HRGN hole = ::CreateRectRgn(thickness, thickness, width - thickness, height - thickness);
    ::CombineRgn(frame, frame, hole, RGN_DIFF);
    ::DeleteObject(hole);
    ::SetWindowRgn(hwnd_, frame, FALSE);  // the window owns the region from here on
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ::SetWindowPos(hwnd_, HWND_TOP, outer.left, outer.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void OutlineWindow::hide() {
    if (hwnd_ != nullptr) ::ShowWindow(hwnd_, SW_HIDE);
}

}  // namespace tapkeys
