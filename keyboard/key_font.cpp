#include "keyboard/key_font.h"

#include <algorithm>
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

double relativeLuminance(std::uint32_t colour) {
    return 0.2126 * linearChannel(colour) + 0.7152 * linearChannel(colour >> 8) +
           0.0722 * linearChannel(colour >> 16);
}

}  // namespace

double contrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool captionNeedsHalo(std::uint32_t colour) {
    return contrastRatio(colour, 0) < 3.0;
}

}  // namespace tapkeys
