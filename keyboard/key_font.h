#pragma once
// The key font as the style letters describe it: "b" bold, "i" italic, "s" strikethrough, "u" underline,
// lower case only, each counting wherever it stands.

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

}  // namespace tapkeys
