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
#include "output/key_output.h"
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
    void suspendSwitch() {
        if (switchHook_) switchHook_->suspend();
    }
    void resumeSwitch() {
        if (switchHook_) switchHook_->resume();
    }

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

// The keyboard's own keystrokes, sent with the switch hook suspended; it is back for the pauses
// between them, and the window resumes it when the typing is over (KeyboardScanning::resumeSwitch).
class SwitchSuspendingOutput final : public KeyOutput {
public:
    SwitchSuspendingOutput(KeyOutput& output, KeyboardScanning& scanning)
        : output_(output), scanning_(scanning) {}

    void sendKeys(std::wstring_view item) override { scanning_.suspendSwitch(), output_.sendKeys(item); }
    void positionKey(const PositionKey& key) override { scanning_.suspendSwitch(), output_.positionKey(key); }
    void keyEvent(std::uint8_t virtualKey, bool keyUp) override {
        scanning_.suspendSwitch(), output_.keyEvent(virtualKey, keyUp);
    }
    void pause(int milliseconds) override { scanning_.resumeSwitch(), output_.pause(milliseconds); }
    bool safeMode() const override { return output_.safeMode(); }
    void keyStringDone() override { output_.keyStringDone(); }

private:
    KeyOutput& output_;
    KeyboardScanning& scanning_;
};

}  // namespace tapkeys
