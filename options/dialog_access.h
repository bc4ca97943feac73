#pragma once
// The settings dialogs for users who cannot click: resting the pointer on a control clicks it, and a
// switch press activates the control that scanning highlights, one by one in tab order. Each dialog
// holds one, starts it when it opens and forwards its timers and the switch presses to it.

#include <windows.h>

#include <optional>
#include <vector>

#include "options/dwell_clock.h"
#include "options/switch_scanner.h"
#include "win32/outline_window.h"
#include "win32/switch_hook.h"
#include "win32/window_timer.h"

namespace tapkeys {

// What the keyboard has switched on, as it stands while the dialogs are open.
struct AccessAids {
    int dwellMs = 0;                   // 0: no dwell
    int scanMs = 0;                    // 0: no scanning
    SwitchHook* switchHook = nullptr;  // the switch, while scanning is on
};

class DialogAccess {
public:
    static constexpr UINT_PTR kDwellTimerId = 17;
    static constexpr UINT_PTR kScanTimerId = 18;

    explicit DialogAccess(const AccessAids& aids) : aids_(aids) {}

    // skipped: controls that open a dialog of the system's, which knows neither dwell nor the switch and
    // would shut the user in.
    void start(HWND dialog, std::vector<int> skipped = {});
    // True when the timer was one of these aids'.
    bool onTimer(UINT_PTR id);
    void onSwitchPress();
    void stop();

private:
    // A control that takes a click, or one arrow of a number box's up-down control.
    struct Target {
        HWND control;
        int arrow;  // 0 the whole control, +1 the up arrow, -1 the down arrow
    };

    void pollPointer();
    Target targetAt(POINT at) const;
    static DwellClock::Target dwellId(const Target& target);
    void holdUnderPointer();
    void activate(const Target& target);
    void showScan();
    RECT targetRect(const Target& target) const;

    bool takes(HWND control) const;

    AccessAids aids_;
    HWND dialog_ = nullptr;
    std::vector<int> skipped_;
    std::optional<SwitchRoute> route_;
    std::vector<Target> targets_;  // scanned, in tab order
    DwellClock dwell_;
    SwitchScanner scanner_;
    WindowTimer dwellTimer_, scanTimer_;
    OutlineWindow dwellOutline_, scanOutline_;
    int shownLevel_ = 0;
};

}  // namespace tapkeys
