#pragma once
// Switch scanning on the keyboard window: the switch, the scanner's timer and its highlight. The
// window hands in the switch presses and the timer's ticks and carries out the picks.

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "keyboard/keyboard_painter.h"
#include "keyboard/scan_rows.h"
#include "options/switch_scanner.h"
#include "settings/extras_settings.h"
#include "win32/switch_hook.h"
#include "win32/window_timer.h"

namespace tapkeys {

class KeyboardScanning {
public:
    static constexpr UINT_PTR kTimerId = 4;
    using PressItem = std::function<void(const ScanItem&)>;

    explicit KeyboardScanning(KeyboardPainter& painter) : painter_(painter) {}

    // Scanning as the settings say, waiting for the first press; the switch is caught only while
    // scanning is on. stripCells: the suggestion strip's cells, 0 without the strip.
    void configure(HWND window, const ExtrasSettings& extras, int stripCells);
    // typing: a press of the keyboard is typing; the switch press waits for afterTyping, the tick for the
    // timer's next turn.
    void onSwitchPress(const PressItem& press, bool typing);
    void onTimer(bool typing);
    void afterTyping(const PressItem& press);
    // The switch, for the dialogs to take over while they are open; null while scanning is off.
    SwitchHook* switchHook() { return switchHook_ ? &*switchHook_ : nullptr; }

private:
    void changed();
    void invalidate(const std::vector<TwipsRect>& outline) const;

    KeyboardPainter& painter_;
    HWND window_ = nullptr;
    SwitchScanner scanner_;
    std::vector<ScanRow> rows_;
    std::optional<SwitchHook> switchHook_;
    int switchKey_ = 0;
    int waitingPresses_ = 0;  // came while a press was typing
    WindowTimer timer_;
};

}  // namespace tapkeys
