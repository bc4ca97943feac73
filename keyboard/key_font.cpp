#include "keyboard/key_font.h"

#include <cmath>

#include "settings/font_style.h"

namespace tapkeys {

KeyFontSpec keyFontFrom(std::wstring_view face, std::wstring_view styleLetters, int pointSize) {
    const FontStyleChecks style = fontStyleChecks(styleLetters);
    return {std::wstring(face), pointSize, style.bold, style.italic, style.strikethrough, style.underline};
}

namespace {

// One sRGB channel (0..255) as linear light.
double linearChannel(std::uint32_t value) {
    const double c = static_cast<double>(value & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

bool captionNeedsHalo(std::uint32_t colour) {
    const double luminance = 0.2126 * linearChannel(colour) + 0.7152 * linearChannel(colour >> 8) +
                             0.0722 * linearChannel(colour >> 16);
    // Black's luminance is 0, so the ratio is (L + 0.05) / 0.05.
    return (luminance + 0.05) / 0.05 < 3.0;
}

}  // namespace tapkeys
