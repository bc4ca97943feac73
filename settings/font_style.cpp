#include "settings/font_style.h"

namespace tapkeys {

FontStyleChecks fontStyleChecks(std::wstring_view fontStyle) {
    const auto has = [fontStyle](wchar_t letter) {
        return fontStyle.find(letter) != std::wstring_view::npos;
    };
    return {.bold = has(L'b'), .italic = has(L'i'), .strikethrough = has(L's'), .underline = has(L'u')};
}

std::wstring fontStyleLetters(const FontStyleChecks& checks) {
    std::wstring letters;
    if (checks.bold) letters += L'b';
    if (checks.italic) letters += L'i';
    if (checks.strikethrough) letters += L's';
    if (checks.underline) letters += L'u';
    return letters;
}

}  // namespace tapkeys
