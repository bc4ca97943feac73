#pragma once
// The colours the keys are drawn in. Normally the background art and the user's caption colour; while
// the system's high-contrast mode is on, the system's own colours, so that the keyboard reads like every
// other program on that desktop. Platform-free: the system's state comes in as plain values.

#include <cstdint>

namespace tapkeys {

// What the system reports, colours as 0x00BBGGRR.
struct SystemContrast {
    bool highContrast = false;
    std::uint32_t window = 0;      // the window background
    std::uint32_t windowText = 0;  // text on it
    std::uint32_t highlight = 0;   // a selected item
    bool operator==(const SystemContrast&) const = default;
};

struct KeyPalette {
    bool systemColours = false;    // false: the background art and the outlines drawn on it
    std::uint32_t background = 0;  // behind the keys
    std::uint32_t captions = 0;    // the key captions
    std::uint32_t title = 0;       // the title in the band above the keys
    std::uint32_t outlines = 0;    // key outlines (system colours only; the art carries its own)
    std::uint32_t light = 0;       // a pressed or highlighted key (system colours only)
    std::uint32_t notice = 0;      // the notice that replaces the title
    bool halo = false;             // captions get a light halo to stand out from the background
    bool operator==(const KeyPalette&) const = default;
};

KeyPalette choosePalette(const SystemContrast& system, std::uint32_t captionColour);

}  // namespace tapkeys
