#pragma once
// The key font as the style letters describe it: "b" bold, "i" italic, "s" strikethrough, "u" underline,
// lower case only, each counting wherever it stands.

#include <cstdint>
#include <string>
#include <string_view>

namespace tapkeys {

struct KeyFontSpec {
    std::wstring face;
    int pointSize = 0;
    bool bold = false, italic = false, strikethrough = false, underline = false;
    bool operator==(const KeyFontSpec&) const = default;
};

KeyFontSpec keyFontFrom(std::wstring_view face, std::wstring_view styleLetters, int pointSize);

// The contrast ratio of two colours (0x00BBGGRR) by their WCAG relative luminance: 1 to 21.
double contrastRatio(std::uint32_t a, std::uint32_t b);

// Whether a caption in this colour (0x00BBGGRR) needs a light halo to be read on the black key image:
// its contrast ratio against black (WCAG relative luminance) is under 3:1.
bool captionNeedsHalo(std::uint32_t colour);

}  // namespace tapkeys
