// The window the end-to-end tests type into: a normal top-level window titled "tapkeys target" whose
// multi-line edit control keeps the focus, and a strip below the edit that a test clicks to make the
// window the foreground window without moving the edit's caret.
//
//   tapkeys_e2e_target.exe LOGFILE [X Y WIDTH HEIGHT [HANG_AFTER_MS]]
//
// With HANG_AFTER_MS the window stops reading its messages for good that long after it is shown, as a
// program stuck in a long computation does. Every line of LOGFILE is written at once, and starts with
// the time in microseconds from QueryPerformanceCounter:
//   <us> READY <x> <y>        the window is shown; (x, y) is the strip's centre on the screen
//   <us> KEYDOWN <vk>         a key press the edit receives
//   <us> CHAR <code unit>     a WM_CHAR the edit receives
//   <us> TEXT <code units>    the edit's whole text after each change
// Numbers are hexadecimal, code units four digits each (TEXT runs them together, and is empty for an
// empty edit).

#include <windows.h>
// commctrl.h and shellapi.h build on windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "win32/base_window.h"
#include "win32/kernel_handle.h"

namespace tapkeys::e2e {
namespace {

constexpr int kStripHeight = 40;
constexpr UINT_PTR kEditSubclassId = 1, kHangTimer = 1;

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value & 0xFFFFu);
    return text;
}

class TargetWindow final : public BaseWindow<TargetWindow> {
public:
    explicit TargetWindow(const wchar_t* logPath)
        : log_(::CreateFileW(logPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        ::QueryPerformanceFrequency(&frequency_);
    }

    bool create(HINSTANCE instance, const long (&place)[4]) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TargetWindow::windowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"tapkeys_e2e_target";
        ::RegisterClassW(&wc);
        return log_ &&
               ::CreateWindowExW(0, wc.lpszClassName, L"tapkeys target", WS_OVERLAPPEDWINDOW, place[0],
                                 place[1], place[2], place[3], nullptr, nullptr, instance, this) != nullptr;
    }

    void show(UINT hangAfterMs) {
        ::ShowWindow(hwnd(), SW_SHOWNORMAL);
        ::SetForegroundWindow(hwnd());
        ::SetFocus(edit_);
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        POINT centre{client.right / 2, client.bottom - kStripHeight / 2};
        ::ClientToScreen(hwnd(), &centre);
        line("READY " + std::to_string(centre.x) + " " + std::to_string(centre.y));
        if (hangAfterMs != 0) ::SetTimer(hwnd(), kHangTimer, hangAfterMs, nullptr);
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_CREATE: return onCreate() ? 0 : -1;
            case WM_SIZE:
                return ::MoveWindow(edit_, 0, 0, LOWORD(lParam), HIWORD(lParam) - kStripHeight, TRUE), 0;
            case WM_SETFOCUS: return ::SetFocus(edit_), 0;
            case WM_ACTIVATE: return onActivate(LOWORD(wParam) != WA_INACTIVE), 0;
            case WM_COMMAND: return onCommand(HIWORD(wParam)), 0;
            case WM_TIMER: return ::Sleep(INFINITE), 0;
            case WM_DESTROY: return ::PostQuitMessage(0), 0;
            default: return defaultProc(message, wParam, lParam);
        }
    }

private:
    // One WriteFile per line, so a reader that stops at the last newline never sees half a line. The
    // microseconds are split so the product cannot overflow however long the machine has been up.
    void line(const std::string& event) {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        const long long counts = now.QuadPart, perSecond = frequency_.QuadPart;
        const std::string out =
            std::to_string(counts / perSecond * 1'000'000 + counts % perSecond * 1'000'000 / perSecond) +
            ' ' + event + '\n';
        DWORD written = 0;
        ::WriteFile(log_.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    }

    bool onCreate() {
        edit_ = ::CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, 0, 0, 0,
            hwnd(), nullptr, nullptr, nullptr);
        return edit_ != nullptr && ::SetWindowSubclass(edit_, &TargetWindow::editProc, kEditSubclassId,
                                                       reinterpret_cast<DWORD_PTR>(this));
    }

    // Takes the place of DefWindowProc, which would give the focus to the frame instead of the edit.
    void onActivate(bool active) {
        if (active) ::SetFocus(edit_);
    }

    void onCommand(WORD notification) {
        if (notification != EN_CHANGE) return;
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit_)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
        std::string units = "TEXT ";
        for (const wchar_t unit : text) units += hex(unit, 4);
        line(units);
    }

    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self) {
        auto* window = reinterpret_cast<TargetWindow*>(self);
        if (message == WM_CHAR) window->line("CHAR " + hex(static_cast<unsigned>(wParam), 4));
        if (message == WM_KEYDOWN) window->line("KEYDOWN " + hex(static_cast<unsigned>(wParam), 2));
        if (message == WM_NCDESTROY) ::RemoveWindowSubclass(edit, &TargetWindow::editProc, id);
        return ::DefSubclassProc(edit, message, wParam, lParam);
    }

    KernelHandle log_;
    LARGE_INTEGER frequency_{};
    HWND edit_ = nullptr;
};

}  // namespace
}  // namespace tapkeys::e2e

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tapkeys::e2e;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) return 2;
    // Left, top, width and height, clear of the keyboard's centred place on a 1024 x 768 screen.
    long place[4] = {10, 500, 600, 230};
    for (int i = 2; i < 6 && i < argc; ++i) place[i - 2] = std::wcstol(argv[i], nullptr, 10);
    const auto hangAfterMs = argc > 6 ? static_cast<UINT>(std::wcstoul(argv[6], nullptr, 10)) : 0u;
    TargetWindow window(argv[1]);
    ::LocalFree(argv);
    if (!window.create(instance, place)) return 3;
    window.show(hangAfterMs);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
