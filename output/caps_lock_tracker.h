#pragma once
// Caps Lock followed from the key's own presses, as the system toggles it: each press turns it
// around, the repeats of a held key and its release do not.

namespace tapkeys {

class CapsLockTracker {
public:
    explicit CapsLockTracker(bool on) : on_(on) {}
    void onKey(bool down) {
        if (down && !down_) on_ = !on_;
        down_ = down;
    }
    bool on() const { return on_; }

private:
    bool on_;
    bool down_ = false;
};

}  // namespace tapkeys
