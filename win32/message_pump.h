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
        drain(0, 0, PM_REMOVE);
        return !quitCode_;
    }

    // Dispatches everything pending except keyboard and pointer messages, which stay queued in their
    // order for a later pump: sent and posted messages, timers and painting go on, but no press is
    // handled in the middle of the work that the pump interrupts. The queue-kind flags leave the system's
    // input unread; the ranges keep out input that was posted.
    bool dispatchPendingExceptInput() {
        constexpr UINT withoutInput = PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT;
        for (const auto& [first, last] : kNonInputRanges) drain(first, last, withoutInput);
        return !quitCode_;
    }

private:
    struct Range {
        UINT first, last;
    };
    // Everything between the non-client pointer, keyboard, mouse and touch / pointer messages.
    static constexpr Range kNonInputRanges[] = {{0, WM_NCMOUSEMOVE - 1},
                                                {WM_NCXBUTTONDBLCLK + 1, WM_KEYFIRST - 1},
                                                {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
                                                {WM_MOUSELAST + 1, WM_TOUCH - 1},
                                                {WM_POINTERHWHEEL + 1, 0xFFFFFFFF}};

    void drain(UINT first, UINT last, UINT flags) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, first, last, flags)) {
            if (message.message == WM_QUIT) {
                quitCode_ = static_cast<int>(message.wParam);
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    std::optional<int> quitCode_;
};

}  // namespace tapkeys
