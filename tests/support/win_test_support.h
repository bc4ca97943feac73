#pragma once
// What the Win32 tests share: a window of the test's own whose messages a test may answer, and waiting
// for something to happen while the thread's messages keep being dispatched.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>

namespace tapkeys::test {

using namespace std::chrono_literals;

// Dispatches this thread's messages until done() holds or limit has passed; the answer is done().
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 2s);

// A top-level window of the creating thread, with an edit control that takes the window's focus when
// withEdit. Every message goes to onMessage first; an answer from it is the window's answer.
class TestWindow {
public:
    explicit TestWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, DWORD exStyle = 0,
                        bool withEdit = false);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() { ::DestroyWindow(hwnd_); }

    HWND hwnd() const { return hwnd_; }
    HWND edit() const { return edit_; }
    DWORD exStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)); }

    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> onMessage;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    HWND edit_ = nullptr;
};

// Brings window to the foreground and waits until its thread has activated it.
bool bringToFront(HWND window);

}  // namespace tapkeys::test
