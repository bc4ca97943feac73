#include "win32/ansi_text.h"

#include <windows.h>

namespace tapkeys {

std::string toAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    // No best fit: a look-alike such as a full-width solidus must not turn into a real "/" on its way
    // into a file name; characters the code page lacks become "?".
    constexpr DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int n = ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, result.data(), n, nullptr, nullptr);
    return result;
}

std::wstring fromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, result.data(), n);
    return result;
}

bool ansiCodePageHolds(std::wstring_view text) {
    if (text.empty()) return true;
    // A system that runs UTF-8 as its ANSI code page holds everything, and refuses the flags below.
    if (::GetACP() == CP_UTF8) return true;
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                        static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

}  // namespace tapkeys
