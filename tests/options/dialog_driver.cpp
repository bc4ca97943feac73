#include "dialog_driver.h"

#include <gtest/gtest.h>

namespace tapkeys::test {

namespace {

// Hooks and thread timers carry no context of their own.
thread_local DialogDriver* current = nullptr;

constexpr UINT tickMs = 10;
constexpr auto patience = std::chrono::seconds(30);

bool isTopLevelDialog(HWND window) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770" && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0;
}

std::wstring captionOf(HWND window) {
    wchar_t caption[128] = {};
    ::GetWindowTextW(window, caption, 128);
    return caption;
}

}  // namespace

DialogDriver::DialogDriver(std::vector<Step> steps)
    : steps_(std::move(steps)), deadline_(std::chrono::steady_clock::now() + patience) {
    current = this;
    cbt_ = ::SetWindowsHookExW(WH_CBT, cbtHook, nullptr, ::GetCurrentThreadId());
    sent_ = ::SetWindowsHookExW(WH_CALLWNDPROC, sentMessageHook, nullptr, ::GetCurrentThreadId());
    timer_ = ::SetTimer(nullptr, 0, tickMs, tick);
}

DialogDriver::~DialogDriver() {
    ::KillTimer(nullptr, timer_);
    ::UnhookWindowsHookEx(sent_);
    ::UnhookWindowsHookEx(cbt_);
    current = nullptr;
}

HWND DialogDriver::dialog(const std::wstring& caption) const {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        if (::IsWindow(*it) && captionOf(*it) == caption) return *it;
    }
    return nullptr;
}

LRESULT CALLBACK DialogDriver::cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    // Captions are read when asked for: at creation the caption is not set yet.
    if (code == HCBT_CREATEWND && current != nullptr && isTopLevelDialog(reinterpret_cast<HWND>(wParam))) {
        current->dialogs_.push_back(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogDriver::sentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current != nullptr && current->onSentMessage) {
        current->onSentMessage(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogDriver::tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current != nullptr) current->runNextStep();
}

void DialogDriver::runNextStep() {
    if (std::chrono::steady_clock::now() > deadline_) return giveUp();
    if (running_ || finished()) return;
    running_ = true;
    if (steps_[next_]()) ++next_;
    running_ = false;
}

// A script that cannot go on must not leave the test hanging in a modal loop.
void DialogDriver::giveUp() {
    if (gaveUp_) return;
    gaveUp_ = true;
    ADD_FAILURE() << "dialogs still open at step " << next_ << " of " << steps_.size();
    next_ = steps_.size();
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        if (::IsWindow(*it)) ::EndDialog(*it, IDCANCEL);
    }
}

}  // namespace tapkeys::test
