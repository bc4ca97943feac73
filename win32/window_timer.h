#pragma once
// A window timer owned by an object.

#include <windows.h>

#include <utility>

namespace tapkeys {

// A window timer, killed with its owner object.
class WindowTimer {
public:
    WindowTimer() = default;
    WindowTimer(HWND hwnd, UINT_PTR id, UINT milliseconds)
        : hwnd_(hwnd), id_(::SetTimer(hwnd, id, milliseconds, nullptr)) {}
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    WindowTimer(WindowTimer&& other) noexcept
        : hwnd_(std::exchange(other.hwnd_, nullptr)), id_(std::exchange(other.id_, 0)) {}
    WindowTimer& operator=(WindowTimer&& other) noexcept {
        if (this != &other) {
            // Setting a timer again under the same window and id replaced this one: stopping it here
            // would stop the new one.
            if (hwnd_ != other.hwnd_ || id_ != other.id_) stop();
            hwnd_ = std::exchange(other.hwnd_, nullptr);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    ~WindowTimer() { stop(); }
    void stop() {
        if (id_ != 0) ::KillTimer(hwnd_, id_);
        id_ = 0;
    }
    bool running() const { return id_ != 0; }

private:
    HWND hwnd_ = nullptr;
    UINT_PTR id_ = 0;
};

}  // namespace tapkeys
