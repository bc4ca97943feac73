#pragma once
// A UTF-16 text as a JSON string literal: printable ASCII as it is, everything else as \uXXXX, so the
// Python side reads the exact code units whatever the console's code page.

#include <cstdio>
#include <string>
#include <string_view>

namespace tapkeys {

inline std::string jsonString(std::wstring_view text) {
    std::string out = "\"";
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != L'"' && c != L'\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c) & 0xFFFFu);
            out += escaped;
        }
    }
    return out + "\"";
}

}  // namespace tapkeys
