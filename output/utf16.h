#pragma once
// Characters of a UTF-16 string: one unit, or a surrogate pair for a character beyond 0xFFFF.

#include <cstddef>
#include <string_view>

namespace tapkeys {

constexpr bool isHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// How many units the character at `i` takes; a lone surrogate counts as a character of its own.
constexpr std::size_t characterLengthAt(std::wstring_view text, std::size_t i) {
    return i + 1 < text.size() && isHighSurrogate(text[i]) && isLowSurrogate(text[i + 1]) ? 2 : 1;
}

}  // namespace tapkeys
