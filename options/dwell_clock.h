#pragma once
// Resting the pointer on a control of a dialog clicks it once its dwell time has run, as resting on a
// key types it: trembling by a few pixels does not start the time again, the progress shows in steps,
// and a control clicks once until the pointer has left it. Platform-free: the dialog polls the pointer
// and hands in what lies under it.

#include <cstdint>
#include <optional>

namespace tapkeys {

class DwellClock {
public:
    using Ms = std::int64_t;
    using Target = std::uintptr_t;  // 0: nothing that takes a dwell
    static constexpr int kSteps = 4;
    static constexpr int kTremorPx = 4;

    void configure(Ms dwellMs) { dwellMs_ = dwellMs > 0 ? dwellMs : 0; }
    bool enabled() const { return dwellMs_ > 0; }

    // The pointer is at (x, y) over target; returns the target when its dwell has just run out.
    std::optional<Target> update(Target target, int x, int y, Ms now);
    // The pointer rests on target already when a dialog opens or comes back: it clicks only after the
    // pointer has left it, as if it had clicked.
    void hold(Target target, int x, int y);
    // 0 while nothing fills, else 1..kSteps.
    int level(Ms now) const;
    Target target() const { return target_; }

private:
    Ms dwellMs_ = 0;
    Target target_ = 0;
    int anchorX_ = 0, anchorY_ = 0;
    Ms since_ = 0;
    bool done_ = false;
};

}  // namespace tapkeys
