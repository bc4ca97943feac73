#include "options/extras_form.h"

#include <algorithm>
#include <cwctype>

namespace tapkeys {

int extrasValueFromText(std::wstring_view text, const ExtrasRange& range, int fallback) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 9 ||
        !std::ranges::all_of(text, [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return fallback;
    int value = 0;
    for (const wchar_t c : text) value = value * 10 + (c - L'0');
    if (range.allows(value)) return value;
    if (value <= range.off) return range.off;
    return std::clamp(value, range.min, range.max);
}

int steppedValue(const ExtrasRange& range, int position, int delta) {
    const int next = position + delta;
    if (range.off >= 0 && delta > 0 && position <= range.off) return range.min;
    if (range.off >= 0 && delta < 0 && next < range.min) return range.off;
    return std::clamp(next, range.min, range.max);
}

}  // namespace tapkeys
