#include "keyboard/word_text.h"

namespace tapkeys {
namespace {

// Latin Extended-A pairs each capital with the next code point, in two runs that start on different
// parities; 0x130, 0x131, 0x138, 0x149 and 0x178 stand outside the pairs.
bool isExtendedACapital(wchar_t c) {
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c % 2 == 0;
    return ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && c % 2 == 1;
}
bool isExtendedASmall(wchar_t c) {
    return isExtendedACapital(static_cast<wchar_t>(c - 1)) && c != 0x130 && c != 0x149;
}

void appendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

}  // namespace

std::wstring fromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
            out += L'\xFFFD';  // a stray continuation byte or a sequence cut off by the end
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = valid && (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        appendCodePoint(out, cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

bool isUpperCase(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || isExtendedACapital(c) ||
           (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x400 && c <= 0x42F);
}

wchar_t lowerCase(wchar_t c) {
    if (!isUpperCase(c)) return c;
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 0x50);
    if (isExtendedACapital(c)) return static_cast<wchar_t>(c + 1);
    return static_cast<wchar_t>(c + 0x20);  // ASCII, Latin-1, Greek and the Cyrillic А-Я alike
}

wchar_t upperCase(wchar_t c) {
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
    if (isExtendedASmall(c)) return static_cast<wchar_t>(c - 1);
    const auto up = static_cast<wchar_t>(c - 0x20);
    const bool shifted = (c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
                         (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F);
    return shifted ? up : c;
}

std::wstring lowerCased(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = lowerCase(c);
    return out;
}

bool isWordCharacter(wchar_t c) {
    if (c == L'\'' || c == L'-' || (c >= L'0' && c <= L'9')) return true;
    if (c < 0x80) return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    // Beyond ASCII every character counts except punctuation and spaces of Latin-1 and General
    // Punctuation (quotation marks, dashes, ellipsis), so any script's letters make words.
    if (c <= 0xBF || c == 0xD7 || c == 0xF7) return false;
    return !(c >= 0x2000 && c <= 0x206F) && c != 0x3000;
}

}  // namespace tapkeys
