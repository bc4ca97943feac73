#include "win32/dialog_controls.h"

namespace tapkeys {

std::wstring windowText(HWND control) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)), L'\0');
    if (!text.empty()) {
        const int copied = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size() + 1));
        text.resize(static_cast<size_t>(copied));
    }
    return text;
}

void setWindowText(HWND control, const std::wstring& text) {
    ::SetWindowTextW(control, text.c_str());
}

// Exactly BST_CHECKED counts; an indeterminate box is not checked.
bool isChecked(HWND button) {
    return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(HWND button, bool checked) {
    ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void addListEntry(HWND comboBox, const std::wstring& entry) {
    ::SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

std::wstring userDecimalSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) return L".";
    return separator;
}

}  // namespace tapkeys
