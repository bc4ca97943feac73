#pragma once
// What tapkeys adds beyond the classic keyboard, stored in the "extras" section after the existing
// ones. Every default keeps the classic behaviour except the purely visual press feedback.

namespace tapkeys {

struct ExtrasSettings {
    bool keyFeedback = true;    // KEYFEEDBACK: a pressed key's outline lights up
    int repeatDelay = 0;        // REPEATDELAY ms before a held key repeats; 0 never, else 250-2000
    int repeatRate = 10;        // REPEATRATE repeats per second, 1-30
    int dwellTime = 0;          // DWELLTIME ms of resting on a key that types it; 0 off, else 300-5000
    bool followLayout = false;  // FOLLOWLAYOUT: keys follow the target's keyboard layout
    bool operator==(const ExtrasSettings&) const = default;
};

}  // namespace tapkeys
