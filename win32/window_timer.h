#pragma once
// A window timer owned by an object.

#include <windows.h>

#include <utility>

namespace tapkeys {

// A window timer, killed with its owner object. SetTimer with a window and an id that is already
// running re-arms that same timer, so an assignment of a timer with the same window and id must not
// kill what it has just armed.
class WindowTimer {
public:
    WindowTimer() = default;
    WindowTimer(HWND hwnd, UINT_PTR id, UINT milliseconds)
        : hwnd_(hwnd), id_(id), running_(::SetTimer(hwnd, id, milliseconds, nullptr) != 0) {}
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    WindowTimer(WindowTimer&& other) noexcept
        : hwnd_(other.hwnd_), id_(other.id_), running_(std::exchange(other.running_, false)) {}
    WindowTimer& operator=(WindowTimer&& other) noexcept {
        if (this == &other) return *this;
        if (!(other.running_ && other.hwnd_ == hwnd_ && other.id_ == id_)) stop();
        hwnd_ = other.hwnd_;
        id_ = other.id_;
        running_ = std::exchange(other.running_, false);
        return *this;
    }
    ~WindowTimer() { stop(); }
    void stop() {
        // With a window, the timer is named by the id it was given; SetTimer's result only says it ran.
        if (running_) ::KillTimer(hwnd_, id_);
        running_ = false;
    }
    bool running() const { return running_; }

private:
    HWND hwnd_ = nullptr;
    UINT_PTR id_ = 0;
    bool running_ = false;
};

}  // namespace tapkeys
