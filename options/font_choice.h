#pragma once
// The rules of the key font group of the options dialog: the size text and its number (the style check
// boxes follow the letters of settings/font_style.h). Platform-free so every edge of the rules runs
// natively.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/font_style.h"

namespace tapkeys {

// The text the size box shows for a stored size: 14 -> "14pt".
std::wstring fontSizeText(std::int16_t points);

// The size stored on OK: the number at the start of the text under kDialogFontSizeRule (8 <= v <= 255,
// a half rounding to the even neighbour; otherwise 8). Holds for typed text too, so Enter in the size
// box stores the same.
std::int16_t fontSizeFromText(std::wstring_view text);

// The text that replaces the size box's text when the box loses the focus: the number read from it
// (8 when outside 8..255), with up to 15 significant digits, no trailing zeros, decimalSeparator as the
// decimal point (the user's locale), then "pt". The store rule reads only ".", so under a locale with
// another separator a fractional size keeps just its whole part.
std::wstring normalizedFontSizeText(std::wstring_view text, std::wstring_view decimalSeparator);

// The size list: 8pt, 10pt, ..., 42pt.
std::vector<std::wstring> fontSizeListEntries();

}  // namespace tapkeys
