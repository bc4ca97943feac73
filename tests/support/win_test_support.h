#pragma once
// What the Win32 tests share: a window of the test's own whose messages a test may answer, and waiting
// for something to happen while the thread's messages keep being dispatched.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "win32/kernel_handle.h"

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

// A window run by a thread of its own: the application typed into, with an edit field that has the
// focus and a message loop; or, busy, a hidden one (so never active before a hand-back) whose thread
// reads none of its messages while the object lives, like a busy program.
class ThreadWindow {
public:
    explicit ThreadWindow(bool busy = false) : busy_(busy) { ::WaitForSingleObject(ready_.get(), INFINITE); }
    ~ThreadWindow();

    HWND window() const { return window_; }
    std::wstring text() const;

private:
    void run();

    const bool busy_;
    KernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle release_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_{[this] { run(); }};  // last: the thread starts once every other member is set
};

// Brings window to the foreground and waits until its thread has activated it.
bool bringToFront(HWND window);

}  // namespace tapkeys::test
