#include "options/dialog_access.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "win32/dialog_controls.h"
#include "win32/steady_clock.h"

namespace tapkeys {
namespace {

constexpr UINT kDwellPollMs = 50;
constexpr int kOutlineGapPx = 1;
constexpr int kScanOutlinePx = 3;

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t className[32]{};
    ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
    return ::lstrcmpiW(className, name) == 0;
}

LONG buttonType(HWND button) {
    return ::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
}

// Buttons of every kind but the group boxes, and the arrows of up-down controls, take a click.
bool clickable(HWND control) {
    if (hasClass(control, UPDOWN_CLASSW)) return true;
    return hasClass(control, L"Button") && buttonType(control) != BS_GROUPBOX;
}

}  // namespace

void DialogAccess::start(HWND dialog, std::vector<int> skipped) {
    dialog_ = dialog;
    skipped_ = std::move(skipped);
    dwell_.configure(aids_.dwellMs);
    if (dwell_.enabled()) {
        holdUnderPointer();
        dwellTimer_ = WindowTimer{dialog, kDwellTimerId, kDwellPollMs};
    }
    if (aids_.scanMs <= 0 || aids_.switchHook == nullptr) return;
    route_.emplace(aids_.switchHook, dialog);
    // The template lists the controls in tab order, which is their order as siblings. The dialog is not
    // shown yet, so a control's own visible style counts.
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) == 0 || !takes(c)) continue;
        if (!hasClass(c, UPDOWN_CLASSW)) {
            targets_.push_back({c, 0});
            continue;
        }
        targets_.push_back({c, +1});
        targets_.push_back({c, -1});
    }
    scanner_.configure(aids_.scanMs, {static_cast<int>(targets_.size())}, true);
}

void DialogAccess::stop() {
    dwellTimer_.stop();
    scanTimer_.stop();
    dwellOutline_.destroy();
    scanOutline_.destroy();
    route_.reset();
    dialog_ = nullptr;
}

bool DialogAccess::onTimer(UINT_PTR id) {
    if (id == kDwellTimerId) return pollPointer(), true;
    if (id != kScanTimerId) return false;
    scanner_.tick(steadyMs());
    showScan();
    return true;
}

RECT DialogAccess::targetRect(const Target& target) const {
    RECT r{};
    ::GetWindowRect(target.control, &r);
    const LONG middle = (r.top + r.bottom) / 2;
    if (target.arrow > 0) r.bottom = middle;
    if (target.arrow < 0) r.top = middle;
    return r;
}

bool DialogAccess::takes(HWND control) const {
    return ::IsWindowEnabled(control) && clickable(control) &&
           std::ranges::find(skipped_, ::GetDlgCtrlID(control)) == skipped_.end();
}

DialogAccess::Target DialogAccess::targetAt(POINT at) const {
    const HWND under = ::WindowFromPoint(at);
    if (under == nullptr || ::GetParent(under) != dialog_ || !takes(under)) return {nullptr, 0};
    if (!hasClass(under, UPDOWN_CLASSW)) return {under, 0};
    RECT r{};
    ::GetWindowRect(under, &r);
    return {under, at.y < (r.top + r.bottom) / 2 ? +1 : -1};
}

// The id tells the two arrows of one up-down control apart.
DwellClock::Target DialogAccess::dwellId(const Target& target) {
    if (target.control == nullptr) return 0;
    return reinterpret_cast<DwellClock::Target>(target.control) * 4 +
           static_cast<DwellClock::Target>(2 + target.arrow);
}

// A dialog opens (or comes back from one it opened) under a resting pointer: what lies there now would
// be clicked without the user's doing, OK or Cancel of a dialog that opened over the last click among them.
void DialogAccess::holdUnderPointer() {
    POINT at{};
    ::GetCursorPos(&at);
    dwell_.hold(dwellId(targetAt(at)), at.x, at.y);
}

// Polled rather than told: the controls, not the dialog, get the pointer's moves.
void DialogAccess::pollPointer() {
    if (dialog_ == nullptr) return;
    POINT at{};
    ::GetCursorPos(&at);
    const Target target = targetAt(at);
    const DwellClock::Ms now = steadyMs();
    const std::optional<DwellClock::Target> fired = dwell_.update(dwellId(target), at.x, at.y, now);
    const int level = dwell_.level(now);
    if (level != shownLevel_) {
        shownLevel_ = level;
        if (level == 0) dwellOutline_.hide();
        // The progress fills as the frame thickens, in the system's highlight colour.
        if (level > 0)
            dwellOutline_.show(dialog_, targetRect(target), kOutlineGapPx, level,
                               ::GetSysColor(COLOR_HIGHLIGHT));
    }
    if (!fired) return;
    activate(target);
    if (dialog_ != nullptr) holdUnderPointer();
}

void DialogAccess::onSwitchPress() {
    if (dialog_ == nullptr || !scanner_.enabled()) return;
    for (auto pick = scanner_.press(steadyMs()); pick; pick = scanner_.typed(steadyMs())) {
        activate(targets_[static_cast<std::size_t>(pick->item)]);
        if (dialog_ == nullptr) return;
    }
    showScan();
}

void DialogAccess::showScan() {
    if (dialog_ == nullptr) return;
    const SwitchScanner::Highlight highlight = scanner_.highlight();
    if (highlight.item < 0) {
        scanOutline_.hide();
    } else {
        scanOutline_.show(dialog_, targetRect(targets_[static_cast<std::size_t>(highlight.item)]),
                          kOutlineGapPx, kScanOutlinePx, static_cast<COLORREF>(kScanHighlightColour));
    }
    const std::optional<SwitchScanner::Ms> next = scanner_.nextDeadline();
    if (!next) return scanTimer_.stop();
    const auto wait =
        static_cast<UINT>(std::clamp<SwitchScanner::Ms>(*next - steadyMs(), USER_TIMER_MINIMUM, 60000));
    scanTimer_ = WindowTimer{dialog_, kScanTimerId, wait};
}

// A click as the control would report it, told to the dialog directly: a dialog that is not the active
// window may miss a simulated mouse click (BM_CLICK).
void DialogAccess::activate(const Target& target) {
    const HWND c = target.control;
    const int id = ::GetDlgCtrlID(c);
    if (target.arrow != 0) {
        int low = 0, high = 0;
        ::SendMessageW(c, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        UDACCEL accel{0, 1};
        ::SendMessageW(c, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
        NMUPDOWN change{};
        change.hdr = {c, static_cast<UINT_PTR>(id), UDN_DELTAPOS};
        change.iPos = static_cast<int>(::SendMessageW(c, UDM_GETPOS32, 0, 0));
        change.iDelta = target.arrow * static_cast<int>(accel.nInc);
        if (::SendMessageW(dialog_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change)) !=
            0)
            return;
        ::SendMessageW(c, UDM_SETPOS32, 0,
                       std::clamp(change.iPos + change.iDelta, std::min(low, high), std::max(low, high)));
        return;
    }
    switch (buttonType(c)) {
        case BS_AUTOCHECKBOX: setChecked(c, !isChecked(c)); break;
        case BS_AUTORADIOBUTTON:
            for (HWND other = ::GetNextDlgGroupItem(dialog_, c, FALSE); other != nullptr && other != c;
                 other = ::GetNextDlgGroupItem(dialog_, other, FALSE)) {
                if (hasClass(other, L"Button") && buttonType(other) == BS_AUTORADIOBUTTON)
                    setChecked(other, false);
            }
            setChecked(c, true);
            break;
        default: break;
    }
    ::SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
}

}  // namespace tapkeys
