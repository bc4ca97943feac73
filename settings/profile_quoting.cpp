#include "settings/profile_quoting.h"

namespace tapkeys {

namespace {

// What Windows or Wine may strip at the ends of a value: ASCII white space, the DOS end-of-file mark
// and the Unicode spaces Wine's white-space test knows. Quoting one more character than needed costs
// nothing; one too few loses it.
bool mayBeStripped(wchar_t c) {
    constexpr std::wstring_view kStripped =
        L" \t\n\v\f\r\x1A\"'\x85\xA0\x1680\x2028\x2029\x202F\x205F\x3000\xFEFF";
    return kStripped.find(c) != std::wstring_view::npos || (c >= L'\x2000' && c <= L'\x200A');
}

}  // namespace

std::wstring quotedForProfile(std::wstring_view value) {
    if (value.empty() || (!mayBeStripped(value.front()) && !mayBeStripped(value.back()))) {
        return std::wstring(value);
    }
    return L'"' + std::wstring(value) + L'"';
}

}  // namespace tapkeys
