#include "keyboard/keyboard_scanning.h"

#include <algorithm>

#include "win32/steady_clock.h"

namespace tapkeys {

void KeyboardScanning::configure(HWND window, const ExtrasSettings& extras, int stripCells) {
    window_ = window;
    rows_ = scanRows(stripCells);
    std::vector<int> sizes;
    for (const ScanRow& row : rows_) sizes.push_back(static_cast<int>(row.size()));
    scanner_.configure(extras.scanTime, sizes);
    waitingPresses_ = 0;
    if (extras.scanTime <= 0) {
        switchHook_.reset();
    } else if (!switchHook_ || switchKey_ != extras.scanKey) {
        switchHook_.reset();  // one hook at a time
        switchHook_.emplace(window, extras.scanKey);
        switchKey_ = extras.scanKey;
    }
    changed();
}

void KeyboardScanning::onSwitchPress(const PressItem& press, bool typing) {
    if (typing) return void(++waitingPresses_);
    // A press that comes while a pick of its own is typing waits in the scanner.
    for (auto pick = scanner_.press(steadyMs()); pick; pick = scanner_.typed(steadyMs())) {
        changed();
        press(rows_[static_cast<std::size_t>(pick->row)][static_cast<std::size_t>(pick->item)]);
    }
    changed();
}

void KeyboardScanning::onTimer(bool typing) {
    if (typing) return;  // the timer stays armed and comes again; the scanner catches up then
    scanner_.tick(steadyMs());
    changed();
}

void KeyboardScanning::afterTyping(const PressItem& press) {
    while (waitingPresses_ > 0) {
        --waitingPresses_;
        onSwitchPress(press, false);
    }
}

void KeyboardScanning::changed() {
    const SwitchScanner::Highlight h = scanner_.highlight();
    std::vector<TwipsRect> outline;
    if (h.row >= 0) outline = scanOutline(rows_[static_cast<std::size_t>(h.row)], h.item);
    if (outline != painter_.scanOutline()) {
        invalidate(painter_.scanOutline());
        invalidate(outline);
        painter_.setScanOutline(std::move(outline));
    }
    const std::optional<SwitchScanner::Ms> next = scanner_.nextDeadline();
    if (!next) return timer_.stop();
    const auto wait =
        static_cast<UINT>(std::clamp<SwitchScanner::Ms>(*next - steadyMs(), USER_TIMER_MINIMUM, 60000));
    timer_ = WindowTimer{window_, kTimerId, wait};
}

void KeyboardScanning::invalidate(const std::vector<TwipsRect>& outline) const {
    for (const TwipsRect& rect : outline) {
        const PixelRect p = painter_.scale().toPixels(rect);
        const RECT r{p.left, p.top, p.right, p.bottom};
        ::InvalidateRect(window_, &r, FALSE);
    }
}

}  // namespace tapkeys
