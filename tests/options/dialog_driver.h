#pragma once
// Drives the modal dialogs of the test thread from inside their own message loops: a thread timer runs
// a script of steps, thread-local hooks note the dialogs the thread creates and the messages sent to
// their controls. Dialogs still open after a generous while are cancelled as a failure, so a broken
// script cannot hang the test. Steps must not block: anything that opens another modal loop is posted.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "win32/dialog_controls.h"

namespace tapkeys::test {

class DialogDriver {
public:
    // A step returns true when it is done; false runs it again on the next tick.
    using Step = std::function<bool()>;

    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        current() = this;
        cbt_ = ::SetWindowsHookExW(WH_CBT, cbtHook, nullptr, ::GetCurrentThreadId());
        sent_ = ::SetWindowsHookExW(WH_CALLWNDPROC, sentMessageHook, nullptr, ::GetCurrentThreadId());
        timer_ = ::SetTimer(nullptr, 0, 10, tick);
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver() {
        ::KillTimer(nullptr, timer_);
        ::UnhookWindowsHookEx(sent_);
        ::UnhookWindowsHookEx(cbt_);
        if (current() == this) current() = nullptr;
    }

    // The last top-level dialog this thread created with this caption, or with any caption (null if none).
    HWND dialog(const std::wstring& caption) const {
        for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
            if (::IsWindow(*it) && windowText(*it) == caption) return *it;
        }
        return nullptr;
    }
    HWND latestDialog() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }
    bool finished() const { return next_ == steps_.size() && !gaveUp_; }

    // Called with every message sent (not posted) to a window of this thread.
    std::function<void(const CWPSTRUCT&)> onSentMessage;

private:
    // Hooks and thread timers carry no context of their own.
    static DialogDriver*& current() {
        thread_local DialogDriver* driver = nullptr;
        return driver;
    }
    // Captions are read when asked for: at creation the caption is not set yet.
    static LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
        const auto window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        if (code == HCBT_CREATEWND && current() && ::GetClassNameW(window, className, 16) &&
            std::wstring(className) == L"#32770" &&
            (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0) {
            current()->dialogs_.push_back(window);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK sentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && current() && current()->onSentMessage) {
            current()->onSentMessage(*reinterpret_cast<const CWPSTRUCT*>(lParam));
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current();
        if (!self || self->running_ || self->next_ == self->steps_.size()) return;
        self->running_ = true;
        if (std::chrono::steady_clock::now() > self->deadline_) {
            self->giveUp();
        } else if (self->steps_[self->next_]()) {
            ++self->next_;
        }
        self->running_ = false;
    }
    void giveUp() {
        gaveUp_ = true;
        ADD_FAILURE() << "dialogs still open at step " << next_ << " of " << steps_.size();
        next_ = steps_.size();
        for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
            if (::IsWindow(*it)) ::EndDialog(*it, IDCANCEL);
        }
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    bool running_ = false, gaveUp_ = false;
    std::vector<HWND> dialogs_;
    HHOOK cbt_ = nullptr, sent_ = nullptr;
    UINT_PTR timer_ = 0;
    std::chrono::steady_clock::time_point deadline_ =
        std::chrono::steady_clock::now() + std::chrono::seconds(30);
};

}  // namespace tapkeys::test
