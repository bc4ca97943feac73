#pragma once
// The style letters of the key font as the settings file keeps them (FONTSTYLE): each lower-case letter
// b, i, s, u anywhere in the text switches bold, italic, strikethrough, underline on.

#include <string>
#include <string_view>

namespace tapkeys {

struct FontStyleChecks {
    bool bold = false;
    bool italic = false;
    bool strikethrough = false;
    bool underline = false;
    bool operator==(const FontStyleChecks&) const = default;
};

// Other characters, upper-case letters included, mean nothing.
FontStyleChecks fontStyleChecks(std::wstring_view fontStyle);

// The letters of the attributes switched on, always in the order b, i, s, u.
std::wstring fontStyleLetters(const FontStyleChecks& checks);

}  // namespace tapkeys
