#include "keyboard/key_font.h"

#include "options/font_choice.h"

namespace tapkeys {

KeyFontSpec keyFontFrom(std::wstring_view face, std::wstring_view styleLetters, int pointSize) {
    const FontStyleChecks style = fontStyleChecks(styleLetters);
    return {std::wstring(face), pointSize, style.bold, style.italic, style.strikethrough, style.underline};
}

}  // namespace tapkeys
