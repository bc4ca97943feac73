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
    int keyboardSize = 100;     // KEYBOARDSIZE per cent of the layout's size, on top of the monitor's scale
    bool operator==(const ExtrasSettings&) const = default;
};

// The ranges of the numbers; 0 switches repeat and dwell off. The options dialog offers the same.
struct ExtrasRange {
    int off;  // a value outside [min, max] that is allowed all the same; -1 where there is none
    int min, max;
    constexpr bool allows(int value) const { return value == off || (value >= min && value <= max); }
};
inline constexpr ExtrasRange kRepeatDelayRange{0, 250, 2000};
inline constexpr ExtrasRange kRepeatRateRange{-1, 1, 30};
inline constexpr ExtrasRange kDwellTimeRange{0, 300, 5000};
inline constexpr ExtrasRange kKeyboardSizeRange{-1, 100, 300};

}  // namespace tapkeys
