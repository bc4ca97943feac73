#include "options/font_choice.h"

#include <cmath>
#include <cwchar>

#include "settings/keyboard_settings.h"
#include "settings/number_reading.h"

namespace tapkeys {

std::wstring fontSizeText(std::int16_t points) {
    return std::to_wstring(points) + L"pt";
}

std::int16_t fontSizeFromText(std::wstring_view text) {
    return kDialogFontSizeRule.apply(readNumber(text));
}

std::wstring normalizedFontSizeText(std::wstring_view text, std::wstring_view decimalSeparator) {
    double points = readNumber(text);
    if (!kDialogFontSizeRule.accepts(points)) points = kDialogFontSizeRule.fallback;
    // %.15g is the general number format: no exponent in 8..255, no trailing zeros.
    wchar_t digits[32] = {};
    std::swprintf(digits, std::size(digits), L"%.15g", points);
    std::wstring result;
    for (const wchar_t* c = digits; *c != L'\0'; ++c) {
        if (*c == L'.') {
            result += decimalSeparator;
        } else {
            result += *c;
        }
    }
    return result + L"pt";
}

std::vector<std::wstring> fontSizeListEntries() {
    std::vector<std::wstring> entries;
    for (int i = 4; i <= 21; ++i) entries.push_back(std::to_wstring(2 * i) + L"pt");
    return entries;
}

}  // namespace tapkeys
