#pragma once
// Reading numbers from text the way the settings file and the options dialog need it: the numeric
// prefix of the text, "." as the decimal point whatever the locale, halves rounded to even.

#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

namespace tapkeys {

// The number at the start of text: blanks, tabs and line feeds are ignored anywhere; then an optional
// sign, digits, an optional fraction after ".", an optional exponent (E or D), or a &H / &O prefix with
// hexadecimal / octal digits. Reading stops at the first character that cannot continue the number;
// text that does not begin with a number reads as 0. Never throws; overflow gives +/-infinity.
double readNumber(std::wstring_view text);

// Rounds to the nearest whole number, a half going to the even neighbour (12.5 -> 12, 13.5 -> 14);
// empty when the result does not fit the type.
std::optional<std::int16_t> roundToInt16(double value);
std::optional<std::int32_t> roundToInt32(double value);

template <typename Int>
std::optional<Int> roundToWhole(double value) {
    static_assert(std::is_same_v<Int, std::int16_t> || std::is_same_v<Int, std::int32_t>);
    if constexpr (std::is_same_v<Int, std::int16_t>) {
        return roundToInt16(value);
    } else {
        return roundToInt32(value);
    }
}

}  // namespace tapkeys
