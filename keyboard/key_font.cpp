#include "keyboard/key_font.h"

namespace tapkeys {

KeyFontSpec keyFontFrom(std::wstring_view face, std::wstring_view styleLetters, int pointSize) {
    const auto has = [&](wchar_t letter) { return styleLetters.find(letter) != std::wstring_view::npos; };
    return {std::wstring(face), pointSize, has(L'b'), has(L'i'), has(L's'), has(L'u')};
}

}  // namespace tapkeys
