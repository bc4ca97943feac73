#include "win_test_support.h"

namespace tapkeys::test {

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

TestWindow::TestWindow(DWORD style, DWORD exStyle, bool withEdit) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"tapkeysTestWindow";
    ::RegisterClassW(&wc);  // a second registration fails harmlessly
    hwnd_ = ::CreateWindowExW(exStyle, wc.lpszClassName, L"test window", style, 100, 100, 400, 150, nullptr,
                              nullptr, wc.hInstance, this);
    if (withEdit)
        edit_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 5, 5,
                                  360, 30, hwnd_, nullptr, wc.hInstance, nullptr);
}

LRESULT CALLBACK TestWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (const auto answer = self && self->onMessage ? self->onMessage(message, wParam, lParam) : std::nullopt)
        return *answer;
    if (message == WM_SETFOCUS && self && self->edit_) return ::SetFocus(self->edit_), 0;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// A window that another thread has just shown may still take the activation, so ask again.
bool bringToFront(HWND window) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        ::SetForegroundWindow(window);
        if (pumpUntil([&] { return ::GetForegroundWindow() == window; }, 200ms)) return true;
    }
    return false;
}

}  // namespace tapkeys::test
