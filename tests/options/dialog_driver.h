#pragma once
// Drives the modal dialogs of the test thread from inside their own message loops: a thread timer runs
// a script of steps, thread-local hooks note the dialogs the thread creates and the messages sent to
// their controls. Dialogs still open after a generous while are cancelled as a failure, so a broken
// script cannot hang the test. Steps must not block: anything that opens another modal loop is posted.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tapkeys::test {

class DialogDriver {
public:
    // A step returns true when it is done; false runs it again on the next tick.
    using Step = std::function<bool()>;

    explicit DialogDriver(std::vector<Step> steps);
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    ~DialogDriver();

    // The last top-level dialog this thread created with this caption (null if none).
    HWND dialog(const std::wstring& caption) const;
    // The last top-level dialog this thread created, whatever its caption.
    HWND latestDialog() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }
    bool finished() const { return next_ == steps_.size() && !gaveUp_; }

    // Called with every message sent (not posted) to a window of this thread.
    std::function<void(const CWPSTRUCT&)> onSentMessage;

private:
    static LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK sentMessageHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void runNextStep();
    void giveUp();

    std::vector<Step> steps_;
    size_t next_ = 0;
    bool running_ = false;
    bool gaveUp_ = false;
    std::vector<HWND> dialogs_;
    HHOOK cbt_ = nullptr;
    HHOOK sent_ = nullptr;
    UINT_PTR timer_ = 0;
    std::chrono::steady_clock::time_point deadline_;
};

}  // namespace tapkeys::test
