// Reports windows of other processes to the end-to-end driver, which clicks and types at the places
// reported here and so keeps no coordinates of the dialog's own.
//
//   win_probe dialog TITLE [WAIT_MS]   the dialog captioned TITLE and its controls, once it exists
//   win_probe closed TITLE [WAIT_MS]   the same, once no dialog is captioned TITLE (then null)
//   win_probe window CLASS [WAIT_MS]   a top-level window of the class CLASS, once it exists
//
// Prints one JSON value: null when nothing matched by the end of WAIT_MS (0 when left out), otherwise
//   {"rect": [left, top, right, bottom], "active": bool, "enabled": bool,
//    "controls": [{"id", "class", "rect", "text", "enabled", "checked"}...]}
// with rectangles in screen pixels, the controls the direct children in Z order, "checked" 0, 1 or 2 for
// buttons and null for the rest, and "text" what WM_GETTEXT returns (for a combo
// box the text of its edit part).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "tools/json_text.h"

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kAnswerMs = 2000;  // a window that does not answer in this time is reported without text

std::string json(std::wstring_view text) {
    return tapkeys::jsonString(text);
}

std::string json(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

const char* json(bool value) {
    return value ? "true" : "false";
}

RECT windowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// WM_GETTEXT crosses processes (the system copies the text back), unlike GetWindowText, which reads
// only the caption kept with the window and so misses an edit box's text.
std::wstring controlText(HWND control) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          kAnswerMs, &copied);
    return std::wstring(text, std::wcslen(text));
}

// The check state of a button (0 for push buttons); -1 for every other control.
int checkState(HWND control) {
    DWORD_PTR state = 0;
    if (className(control) != L"Button") return -1;
    ::SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &state);
    return static_cast<int>(state);
}

std::string controlJson(HWND control) {
    const int checked = checkState(control);
    char head[160];
    std::snprintf(head, sizeof head, "{\"id\": %d, \"class\": ", ::GetDlgCtrlID(control));
    return head + json(className(control)) + ", \"rect\": " + json(windowRect(control)) +
           ", \"text\": " + json(controlText(control)) +
           ", \"enabled\": " + json(::IsWindowEnabled(control) != 0) +
           ", \"checked\": " + (checked < 0 ? std::string("null") : std::to_string(checked)) + "}";
}

std::string windowJson(HWND window) {
    std::string out = "{\"rect\": " + json(windowRect(window)) +
                      ", \"active\": " + json(::GetForegroundWindow() == window) +
                      ", \"enabled\": " + json(::IsWindowEnabled(window) != 0) + ",\n \"controls\": [";
    const char* separator = "\n  ";
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        out += separator + controlJson(child);
        separator = ",\n  ";
    }
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
    if (command != L"dialog" && command != L"closed" && command != L"window") {
        std::fputs("usage: win_probe dialog|closed TITLE [WAIT_MS] | win_probe window CLASS [WAIT_MS]\n",
                   stderr);
        return 2;
    }
    // Screen pixels as they are, whatever the screen's density.
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const bool dialog = command != L"window", gone = command == L"closed";
    const ULONGLONG deadline = ::GetTickCount64() + (argc > 3 ? std::wcstoul(argv[3], nullptr, 10) : 0);
    HWND found = findVisible(dialog, argv[2]);
    while ((found == nullptr) != gone && ::GetTickCount64() < deadline) {
        ::Sleep(kPollMs);
        found = findVisible(dialog, argv[2]);
    }
    std::printf("%s\n", found != nullptr ? windowJson(found).c_str() : "null");
    return 0;
}
