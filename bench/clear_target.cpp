// Empties the edit control of the end-to-end target window (class "tapkeys_e2e_target"), so a long soak keeps
// the text that window logs after every change short. Keyboard shortcuts would go through the X keyboard,
// whose modifiers could still be down when the next key press arrives.
//
//   bench_clear_target.exe        exit code 0 when the edit was found and emptied

#include <windows.h>

int wmain() {
    const HWND target = ::FindWindowW(L"tapkeys_e2e_target", nullptr);
    const HWND edit = target != nullptr ? ::FindWindowExW(target, nullptr, L"EDIT", nullptr) : nullptr;
    if (edit == nullptr) return 1;
    // Replacing the selection, unlike WM_SETTEXT, makes a multi-line edit report the change, so the
    // target logs the empty text.
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    return ::GetWindowTextLengthW(edit) == 0 ? 0 : 2;
}
