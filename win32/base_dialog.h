#pragma once
// One static dialog procedure per dialog class: it stores `this` on WM_INITDIALOG and forwards every
// later message to Derived::handleMessage, a switch of one-line cases.

#include <windows.h>

namespace tapkeys {

template <typename Derived>
class BaseDialog {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    BaseDialog() = default;
    BaseDialog(const BaseDialog&) = delete;
    BaseDialog& operator=(const BaseDialog&) = delete;
    ~BaseDialog() = default;

    // Creates the dialog from the program's template resource and runs it until EndDialog; returns
    // EndDialog's result, or -1 when the dialog could not be created.
    INT_PTR runModal(HWND owner, int templateId) {
        return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, dialogProc,
                                 reinterpret_cast<LPARAM>(static_cast<Derived*>(this)));
    }

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<Derived*>(lParam);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        } else {
            self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
        }
        if (self == nullptr) return FALSE;
        const INT_PTR result = self->handleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

}  // namespace tapkeys
