#pragma once
// The program's one way of dispatching window messages: the main loop, and the pump that dispatches
// the thread's pending messages in the middle of other work (the safe-mode pause, the focus hand-back,
// the font list loader), so the program keeps painting and answering touches.

#include <windows.h>

namespace tapkeys {

// A message for a dialog or its controls goes through IsDialogMessage first, so Tab, the arrow keys,
// Enter and Esc work in it as in the dialog's own loop.
inline void dispatchMessage(MSG& message, HWND dialog = nullptr) {
    if (dialog != nullptr && ::IsDialogMessageW(dialog, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

// Runs until WM_QUIT; returns its exit code.
inline int runMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) dispatchMessage(message);
    return static_cast<int>(message.wParam);
}

class MessagePump {
public:
    MessagePump() = default;
    // For work inside a dialog: its keyboard navigation keeps working, and the pump stops once
    // `closing` turns true. EndDialog destroys the dialog only after the handler running the pump has
    // returned, so nothing may be dispatched for a dialog that is ending.
    MessagePump(HWND dialog, const bool& closing) : dialog_(dialog), closing_(&closing) {}
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;
    // A WM_QUIT met on the way belongs to the main loop (or ends a modal dialog's loop): it is posted
    // again when the pump goes.
    ~MessagePump() {
        if (quitMet_) ::PostQuitMessage(quitCode_);
    }

    // Dispatches everything pending; false once a WM_QUIT has been met or the dialog is closing.
    bool dispatchPending() {
        drain(0, 0, PM_REMOVE);
        return !quitMet_ && !closing();
    }

    // Dispatches everything pending except keyboard and pointer messages, which stay queued in their
    // order for a later pump: sent and posted messages, timers and painting go on, but no press is
    // handled in the middle of the work that the pump interrupts. The queue-kind flags leave the system's
    // input unread; the ranges keep out input that was posted.
    bool dispatchPendingExceptInput() {
        constexpr UINT withoutInput = PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT;
        for (const auto& [first, last] : kNonInputRanges) drain(first, last, withoutInput);
        return !quitMet_ && !closing();
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
        while (!closing() && ::PeekMessageW(&message, nullptr, first, last, flags)) {
            if (message.message == WM_QUIT) {
                quitMet_ = true;
                quitCode_ = static_cast<int>(message.wParam);
                continue;
            }
            dispatchMessage(message, dialog_);
        }
    }

    bool closing() const { return closing_ != nullptr && *closing_; }

    HWND dialog_ = nullptr;
    const bool* closing_ = nullptr;
    bool quitMet_ = false;
    int quitCode_ = 0;
};

}  // namespace tapkeys
