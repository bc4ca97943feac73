#pragma once
// Case folding for names that are ASCII (key names, device names). Only ASCII letters fold: a locale's
// case rules must not turn some other character into one of their letters. Platform-free.

namespace tapkeys {

constexpr wchar_t asciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace tapkeys
