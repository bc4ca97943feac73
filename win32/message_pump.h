#pragma once
// Dispatches the thread's pending window messages in the middle of other work (the safe-mode pause,
// the focus hand-back, the font list loader), so the program keeps painting and answering touches.

#include <windows.h>

#include <optional>

namespace tapkeys {

class MessagePump {
public:
    MessagePump() = default;
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;
    // A WM_QUIT met on the way belongs to the main loop: it is posted again when the pump goes.
    ~MessagePump() {
        if (quitCode_) ::PostQuitMessage(*quitCode_);
    }

    // Dispatches everything pending; false once a WM_QUIT has been met.
    bool dispatchPending() {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitCode_ = static_cast<int>(message.wParam);
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        return !quitCode_;
    }

private:
    std::optional<int> quitCode_;
};

}  // namespace tapkeys
