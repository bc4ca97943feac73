#pragma once
// What tapkeys adds beyond the classic keyboard, stored in the "extras" section after the existing
// ones. Every default keeps the classic behaviour except the purely visual press feedback.

#include <array>
#include <string_view>

namespace tapkeys {

struct ExtrasSettings {
    bool keyFeedback = true;    // KEYFEEDBACK: a pressed key's outline lights up
    int repeatDelay = 0;        // REPEATDELAY ms before a held key repeats; 0 never, else 250-2000
    int repeatRate = 10;        // REPEATRATE repeats per second, 1-30
    int dwellTime = 0;          // DWELLTIME ms of resting on a key that types it; 0 off, else 300-5000
    bool followLayout = false;  // FOLLOWLAYOUT: keys follow the target's keyboard layout
    bool prediction = false;    // PREDICTION: a strip of suggested words below the keys
    bool learnWords = true;     // LEARNWORDS: prediction learns the words typed
    int scanTime = 0;           // SCANTIME ms each scanning highlight stays; 0 off, else 300-5000
    int scanKey = 0x20;         // SCANKEY: the switch, a virtual-key code of kScanKeys (Space)
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
inline constexpr ExtrasRange kScanTimeRange{0, 300, 5000};

// The keys that may serve as the switch, by the names the settings file gives them, with their
// virtual-key codes: keys a user rarely needs to type while scanning.
struct ScanKeyName {
    std::wstring_view name;
    int virtualKey;
};
inline constexpr std::array<ScanKeyName, 13> kScanKeys{{{L"SPACE", 0x20},
                                                        {L"ENTER", 0x0D},
                                                        {L"F2", 0x71},
                                                        {L"F3", 0x72},
                                                        {L"F4", 0x73},
                                                        {L"F5", 0x74},
                                                        {L"F6", 0x75},
                                                        {L"F7", 0x76},
                                                        {L"F8", 0x77},
                                                        {L"F9", 0x78},
                                                        {L"F10", 0x79},
                                                        {L"F11", 0x7A},
                                                        {L"F12", 0x7B}}};

}  // namespace tapkeys
