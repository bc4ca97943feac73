#include "options/dwell_clock.h"

#include <algorithm>
#include <cstdlib>

namespace tapkeys {

std::optional<DwellClock::Target> DwellClock::update(Target target, int x, int y, Ms now) {
    if (dwellMs_ == 0 || target == 0) {
        target_ = 0;
        return std::nullopt;
    }
    const bool trembling = std::abs(x - anchorX_) <= kTremorPx && std::abs(y - anchorY_) <= kTremorPx;
    if (target != target_ || (!trembling && !done_)) {
        if (target != target_) done_ = false;
        target_ = target;
        anchorX_ = x, anchorY_ = y;
        since_ = now;
    }
    if (done_ || now < since_ + dwellMs_) return std::nullopt;
    done_ = true;
    return target;
}

void DwellClock::hold(Target target, int x, int y) {
    target_ = target;
    anchorX_ = x, anchorY_ = y;
    done_ = target != 0;
}

int DwellClock::level(Ms now) const {
    if (target_ == 0 || done_ || dwellMs_ == 0) return 0;
    return static_cast<int>(std::clamp<Ms>((now - since_) * kSteps / dwellMs_, 0, kSteps));
}

}  // namespace tapkeys
