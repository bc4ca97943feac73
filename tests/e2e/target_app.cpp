// The window the end-to-end tests type into: a normal top-level window titled "tapkeys target" whose
// multi-line edit control keeps the focus, and a strip below the edit that a test clicks to make the
// window the foreground window without moving the edit's caret.
//
//   tapkeys_e2e_target.exe LOGFILE [X Y WIDTH HEIGHT [HANG_AFTER_MS]]
//
// With HANG_AFTER_MS the window stops reading its messages for good that long after it is shown, as a
// program stuck in a long computation does. Every line of LOGFILE is written at once, and starts with
// the time in microseconds from QueryPerformanceCounter:
//   <us> READY <hwnd> <x> <y>         the window is shown; (x, y) is the strip's centre on the screen
//   <us> ACTIVE <0|1>                 the window lost or gained the activation
//   <us> KEYDOWN <vk> <scan> <ext>    also KEYUP: as the edit receives them
//   <us> CHAR <code unit> <scan>      a WM_CHAR the edit receives
//   <us> TEXT <code units>            the edit's whole text after each change
// Numbers are hexadecimal: vk and scan two digits, code units four digits each (TEXT runs them
// together, and is empty for an empty edit); ext is 0 or 1, the extended-key bit.

#include <windows.h>
// commctrl.h and shellapi.h build on windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "win32/base_window.h"
#include "win32/kernel_handle.h"

namespace tapkeys::e2e {
namespace {

constexpr int kStripHeight = 40;
constexpr UINT_PTR kEditSubclassId = 1, kHangTimer = 1;

class EventLog {
public:
    explicit EventLog(const wchar_t* path)
        : file_(::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        ::QueryPerformanceFrequency(&frequency_);
    }
    bool isOpen() const { return static_cast<bool>(file_); }

    // One WriteFile per line, so a reader that stops at the last newline never sees half a line.
    template <typename... Args>
    void line(const char* pattern, Args... args) {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        const auto counts = static_cast<unsigned long long>(now.QuadPart);
        const auto perSecond = static_cast<unsigned long long>(frequency_.QuadPart);
        // Split so the product cannot overflow however long the machine has been up.
        std::string out =
            std::to_string(counts / perSecond * 1'000'000ULL + counts % perSecond * 1'000'000ULL / perSecond);
        const size_t head = out.size() + 1;
        out.resize(head + static_cast<size_t>(std::snprintf(nullptr, 0, pattern, args...)) + 1);
        std::snprintf(out.data() + head, out.size() - head, pattern, args...);
        out[head - 1] = ' ';
        out.back() = '\n';
        DWORD written = 0;
        ::WriteFile(file_.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    }

private:
    KernelHandle file_;
    LARGE_INTEGER frequency_{};
};

class TargetWindow final : public BaseWindow<TargetWindow> {
public:
    explicit TargetWindow(EventLog& log) : log_(log) {}

    bool create(HINSTANCE instance, const long (&place)[4]) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TargetWindow::windowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"tapkeys_e2e_target";
        ::RegisterClassW(&wc);
        return ::CreateWindowExW(0, wc.lpszClassName, L"tapkeys target", WS_OVERLAPPEDWINDOW, place[0],
                                 place[1], place[2], place[3], nullptr, nullptr, instance, this) != nullptr;
    }

    void show(UINT hangAfterMs) {
        ::ShowWindow(hwnd(), SW_SHOWNORMAL);
        ::UpdateWindow(hwnd());
        ::SetForegroundWindow(hwnd());
        ::SetFocus(edit_);
        const RECT strip = stripRect();
        POINT centre{(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2};
        ::ClientToScreen(hwnd(), &centre);
        log_.line("READY %p %ld %ld", static_cast<void*>(hwnd()), centre.x, centre.y);
        if (hangAfterMs != 0) ::SetTimer(hwnd(), kHangTimer, hangAfterMs, nullptr);
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_CREATE: return onCreate() ? 0 : -1;
            case WM_SIZE: return onSize(), 0;
            case WM_SETFOCUS: return ::SetFocus(edit_), 0;
            case WM_ACTIVATE: return onActivate(LOWORD(wParam) != WA_INACTIVE), 0;
            case WM_COMMAND: return onCommand(HIWORD(wParam)), 0;
            case WM_TIMER: return ::Sleep(INFINITE), 0;
            case WM_DESTROY: return ::PostQuitMessage(0), 0;
            default: return defaultProc(message, wParam, lParam);
        }
    }

private:
    bool onCreate() {
        edit_ = ::CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, 0, 0, 0,
            hwnd(), nullptr, nullptr, nullptr);
        return edit_ != nullptr && ::SetWindowSubclass(edit_, &TargetWindow::editProc, kEditSubclassId,
                                                       reinterpret_cast<DWORD_PTR>(this));
    }

    RECT stripRect() const {
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        client.top = std::max(client.top, client.bottom - kStripHeight);
        return client;
    }

    void onSize() {
        const RECT strip = stripRect();
        ::MoveWindow(edit_, 0, 0, strip.right, strip.top, TRUE);
    }

    // Takes the place of DefWindowProc, which would give the focus to the frame instead of the edit.
    void onActivate(bool active) {
        log_.line("ACTIVE %d", active ? 1 : 0);
        if (active) ::SetFocus(edit_);
    }

    void onCommand(WORD notification) {
        if (notification != EN_CHANGE) return;
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit_)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
        std::string units;
        for (const wchar_t unit : text) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%04x", static_cast<unsigned>(unit) & 0xFFFFu);
            units += hex;
        }
        log_.line("TEXT %s", units.c_str());
    }

    void logKeyMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        const unsigned code = static_cast<unsigned>(wParam) & 0xFFFFu,
                       scan = static_cast<unsigned>(lParam >> 16) & 0xFF;
        if (message == WM_CHAR) return log_.line("CHAR %04x %02x", code, scan);
        const char* kind = message == WM_KEYDOWN ? "KEYDOWN" : message == WM_KEYUP ? "KEYUP" : nullptr;
        if (kind != nullptr)
            log_.line("%s %02x %02x %u", kind, code, scan, static_cast<unsigned>(lParam >> 24) & 1);
    }

    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self) {
        reinterpret_cast<TargetWindow*>(self)->logKeyMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) ::RemoveWindowSubclass(edit, &TargetWindow::editProc, id);
        return ::DefSubclassProc(edit, message, wParam, lParam);
    }

    EventLog& log_;
    HWND edit_ = nullptr;
};

}  // namespace
}  // namespace tapkeys::e2e

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tapkeys::e2e;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || (argc != 2 && argc != 6 && argc != 7)) {
        std::fputs("usage: tapkeys_e2e_target LOGFILE [X Y WIDTH HEIGHT [HANG_AFTER_MS]]\n", stderr);
        return 2;
    }
    // Left, top, width and height, clear of the keyboard's centred place on a 1024 x 768 screen.
    long place[4] = {10, 500, 600, 230};
    for (int i = 2; i < 6 && i < argc; ++i) place[i - 2] = std::wcstol(argv[i], nullptr, 10);
    const auto hangAfterMs = argc == 7 ? static_cast<UINT>(std::wcstoul(argv[6], nullptr, 10)) : 0u;
    EventLog log(argv[1]);
    ::LocalFree(argv);
    TargetWindow window(log);
    if (!log.isOpen() || !window.create(instance, place)) return 3;
    window.show(hangAfterMs);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
