// The window the end-to-end tests type into: a normal top-level window titled "tapkeys target" whose
// multi-line edit control keeps the focus, and a strip below the edit that a test clicks to make the
// window the foreground window without moving the edit's caret.
//
//   tapkeys_e2e_target.exe LOGFILE [X Y WIDTH HEIGHT]
//
// Every line of LOGFILE is written and flushed at once, and starts with the time in microseconds from
// QueryPerformanceCounter:
//   <us> READY <hwnd> <x> <y>         the window is shown; (x, y) is the strip's centre on the screen
//   <us> ACTIVE <0|1>                 the window lost or gained the activation
//   <us> MOVE <left> <top>            the window's outer top-left corner on the screen, after a move
//   <us> KEYDOWN <vk> <scan> <ext>    also KEYUP, SYSKEYDOWN, SYSKEYUP: as the edit receives them
//   <us> CHAR <code unit> <scan>      a WM_CHAR the edit receives
//   <us> TEXT <code units>            the edit's whole text after each change
//   <us> FRAME<kind> ...              a key message that reached the frame window instead of the edit
//                                     (kind KEYDOWN, KEYUP, SYSKEYDOWN, SYSKEYUP or CHAR, fields as above)
// Numbers are hexadecimal: vk and scan two digits, code units four digits each (TEXT runs them
// together, and is empty for an empty edit); ext is 0 or 1, the extended-key bit.

#include <windows.h>
// commctrl.h and shellapi.h build on windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "win32/base_window.h"
#include "win32/gdi.h"
#include "win32/kernel_handle.h"

namespace tapkeys::e2e {
namespace {

// Clear of the keyboard's centred place on a 1024 x 768 screen (196, 275 to 828, 492).
constexpr RECT kDefaultPlace{10, 500, 610, 730};
constexpr int kStripHeight = 40;
constexpr UINT_PTR kEditSubclassId = 1;

class EventLog {
public:
    explicit EventLog(const std::wstring& path)
        : file_(::CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        ::QueryPerformanceFrequency(&frequency_);
    }
    bool isOpen() const { return static_cast<bool>(file_); }

    // One WriteFile per line, so a reader that stops at the last newline never sees half a line.
    void line(const char* format, ...) {
        char text[64];
        std::snprintf(text, sizeof text, "%llu ", microseconds());
        std::string out = text;
        char body[512];
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(body, sizeof body, format, args);
        va_end(args);
        if (n > 0) out.append(body, std::min(static_cast<size_t>(n), sizeof body - 1));
        out += '\n';
        write(out);
    }

    void text(const std::wstring& units) {
        char text[64];
        std::snprintf(text, sizeof text, "%llu TEXT ", microseconds());
        std::string out = text;
        for (const wchar_t unit : units) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%04x", static_cast<unsigned>(unit) & 0xFFFFu);
            out += hex;
        }
        out += '\n';
        write(out);
    }

private:
    unsigned long long microseconds() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        const auto counts = static_cast<unsigned long long>(now.QuadPart);
        const auto perSecond = static_cast<unsigned long long>(frequency_.QuadPart);
        // Split so the product cannot overflow however long the machine has been up.
        return counts / perSecond * 1'000'000ULL + counts % perSecond * 1'000'000ULL / perSecond;
    }
    void write(const std::string& out) {
        DWORD written = 0;
        ::WriteFile(file_.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    }

    KernelHandle file_;
    LARGE_INTEGER frequency_{};
};

struct KeyInfo {
    unsigned scan;
    unsigned extended;
};
KeyInfo keyInfo(LPARAM lParam) {
    return {static_cast<unsigned>((lParam >> 16) & 0xFF), static_cast<unsigned>((lParam >> 24) & 1)};
}

class TargetWindow final : public BaseWindow<TargetWindow> {
public:
    explicit TargetWindow(EventLog& log) : log_(log) {}

    bool create(HINSTANCE instance, const RECT& place) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TargetWindow::windowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"tapkeys_e2e_target";
        ::RegisterClassW(&wc);
        return ::CreateWindowExW(0, wc.lpszClassName, L"tapkeys target", WS_OVERLAPPEDWINDOW, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                 nullptr, instance, this) != nullptr;
    }

    void show() {
        ::ShowWindow(hwnd(), SW_SHOWNORMAL);
        ::UpdateWindow(hwnd());
        ::SetForegroundWindow(hwnd());
        ::SetFocus(edit_);
        const RECT strip = stripRect();
        POINT centre{(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2};
        ::ClientToScreen(hwnd(), &centre);
        log_.line("READY %p %ld %ld", static_cast<void*>(hwnd()), centre.x, centre.y);
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_CREATE: return onCreate() ? 0 : -1;
            case WM_SIZE: return onSize(), 0;
            case WM_PAINT: return onPaint(), 0;
            case WM_SETFOCUS: return ::SetFocus(edit_), 0;
            case WM_ACTIVATE: return onActivate(LOWORD(wParam) != WA_INACTIVE), 0;
            case WM_MOVE: return onMove(), 0;
            case WM_COMMAND: return onCommand(HIWORD(wParam)), 0;
            case WM_DESTROY: return ::PostQuitMessage(0), 0;
            case WM_KEYDOWN:
            case WM_KEYUP:
            case WM_SYSKEYDOWN:
            case WM_SYSKEYUP:
            case WM_CHAR:
                return logKeyMessage("FRAME", message, wParam, lParam), defaultProc(message, wParam, lParam);
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
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        ::MoveWindow(edit_, 0, 0, client.right, std::max(0L, client.bottom - kStripHeight), TRUE);
    }

    void onPaint() {
        PaintScope paint(hwnd());
        RECT strip = stripRect();
        ::SetBkMode(paint.dc(), TRANSPARENT);
        ::DrawTextW(paint.dc(), L"click here to type", -1, &strip, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    // Takes the place of DefWindowProc, which would give the focus to the frame instead of the edit.
    void onActivate(bool active) {
        log_.line("ACTIVE %d", active ? 1 : 0);
        if (active) ::SetFocus(edit_);
    }

    void onMove() {
        RECT outer{};
        ::GetWindowRect(hwnd(), &outer);
        log_.line("MOVE %ld %ld", outer.left, outer.top);
    }

    void onCommand(WORD notification) {
        if (notification == EN_CHANGE) log_.text(editText());
    }

    std::wstring editText() const {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit_)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // prefix is empty for the edit and "FRAME" for the frame window.
    void logKeyMessage(const char* prefix, UINT message, WPARAM wParam, LPARAM lParam) {
        const KeyInfo key = keyInfo(lParam);
        const unsigned code = static_cast<unsigned>(wParam) & 0xFFFFu;
        if (message == WM_CHAR) return log_.line("%sCHAR %04x %02x", prefix, code, key.scan);
        const char* kind = message == WM_KEYDOWN      ? "KEYDOWN"
                           : message == WM_KEYUP      ? "KEYUP"
                           : message == WM_SYSKEYDOWN ? "SYSKEYDOWN"
                           : message == WM_SYSKEYUP   ? "SYSKEYUP"
                                                      : nullptr;
        if (kind != nullptr) log_.line("%s%s %02x %02x %u", prefix, kind, code, key.scan, key.extended);
    }

    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self) {
        reinterpret_cast<TargetWindow*>(self)->logKeyMessage("", message, wParam, lParam);
        if (message == WM_NCDESTROY) ::RemoveWindowSubclass(edit, &TargetWindow::editProc, id);
        return ::DefSubclassProc(edit, message, wParam, lParam);
    }

    EventLog& log_;
    HWND edit_ = nullptr;
};

struct Arguments {
    std::wstring logPath;
    RECT place = kDefaultPlace;
};

bool parseArguments(Arguments& out) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr) return false;
    const bool valid = argc == 2 || argc == 6;
    if (valid) {
        out.logPath = argv[1];
        if (argc == 6) {
            const long x = std::wcstol(argv[2], nullptr, 10), y = std::wcstol(argv[3], nullptr, 10);
            out.place = {x, y, x + std::wcstol(argv[4], nullptr, 10), y + std::wcstol(argv[5], nullptr, 10)};
        }
    }
    ::LocalFree(argv);
    return valid;
}

}  // namespace
}  // namespace tapkeys::e2e

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tapkeys::e2e;
    Arguments args;
    if (!parseArguments(args)) {
        std::fputs("usage: tapkeys_e2e_target LOGFILE [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    EventLog log(args.logPath);
    if (!log.isOpen()) return 3;
    TargetWindow window(log);
    if (!window.create(instance, args.place)) return 4;
    window.show();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
