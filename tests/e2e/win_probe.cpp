// Reports windows of other processes to the end-to-end driver, which clicks and types at the places
// reported here and so keeps no coordinates of the dialog's own.
//
//   win_probe dialog TITLE [WAIT_MS]   the dialog captioned TITLE and its controls, once it exists
//   win_probe closed TITLE [WAIT_MS]   the same, once no dialog is captioned TITLE (then null)
//   win_probe window CLASS [WAIT_MS]   a top-level window of the class CLASS, once it exists
//   win_probe poll VK                  asks GetAsyncKeyState about the virtual key VK (decimal) every
//                                      millisecond until it is ended, as a lock-key indicator does
//
// Prints one JSON value: null when nothing matched by the end of WAIT_MS (0 when left out), otherwise
//   {"rect": [left, top, right, bottom], "active": bool, "enabled": bool,
//    "controls": [{"id", "rect", "text", "enabled", "checked"}...]}
// with rectangles in screen pixels, the controls the direct children, "checked" the check state of a
// button (0 for the rest) and "text" what WM_GETTEXT returns (for a combo box the text of its edit part).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/json_text.h"

namespace {

constexpr UINT kAnswerMs = 2000;  // a window that does not answer in this time is reported without text

// The opening and the fields both a window and a control report.
std::string fields(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    char text[96];
    std::snprintf(text, sizeof text, "{\"rect\": [%ld, %ld, %ld, %ld], \"enabled\": %s", r.left, r.top,
                  r.right, r.bottom, ::IsWindowEnabled(window) ? "true" : "false");
    return text;
}

// WM_GETTEXT crosses processes (the system copies the text back), unlike GetWindowText, which reads
// only the caption kept with the window and so misses an edit box's text.
std::string controlJson(HWND control) {
    wchar_t text[512] = {}, className[64] = {};
    DWORD_PTR copied = 0, checked = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          kAnswerMs, &copied);
    ::GetClassNameW(control, className, 64);
    if (std::wstring_view(className) == L"Button")
        ::SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &checked);
    return fields(control) + ", \"id\": " + std::to_string(::GetDlgCtrlID(control)) +
           ", \"text\": " + tapkeys::jsonString(text) + ", \"checked\": " + std::to_string(checked) + "}";
}

std::string windowJson(HWND window) {
    std::string out = fields(window) +
                      ", \"active\": " + (::GetForegroundWindow() == window ? "true" : "false") +
                      ", \"controls\": [";
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        out += controlJson(child) + (::GetWindow(child, GW_HWNDNEXT) != nullptr ? ",\n" : "");
    return out + "]}";
}

// A visible top-level window: a dialog by its caption, or any window by its class.
HWND findVisible(bool dialog, const wchar_t* name) {
    const HWND found = dialog ? ::FindWindowW(L"#32770", name) : ::FindWindowW(name, nullptr);
    return found != nullptr && ::IsWindowVisible(found) ? found : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring_view command = argc >= 3 ? argv[1] : L"";
    if (command == L"poll") {
        const int key = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
        for (;;) ::GetAsyncKeyState(key), ::Sleep(1);
    }
    if (command != L"dialog" && command != L"closed" && command != L"window") return 2;
    // Screen pixels as they are, whatever the screen's density.
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const bool dialog = command != L"window", gone = command == L"closed";
    const ULONGLONG deadline = ::GetTickCount64() + (argc > 3 ? std::wcstoul(argv[3], nullptr, 10) : 0);
    HWND found = findVisible(dialog, argv[2]);
    for (; (found == nullptr) != gone && ::GetTickCount64() < deadline; found = findVisible(dialog, argv[2]))
        ::Sleep(20);
    std::printf("%s\n", found != nullptr ? windowJson(found).c_str() : "null");
    return 0;
}
