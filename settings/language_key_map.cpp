#include "settings/language_key_map.h"

#include <algorithm>
#include <array>

#include "win32/ascii_case.h"

namespace tapkeys {

namespace {

// Shown on the first seven keys when the language file has nothing for a layer, so the user sees that
// the host's language file is at fault rather than a blank keyboard.
constexpr std::wstring_view kPlaceholderKeySet = L"default";

std::wstring orPlaceholder(std::wstring keySet) {
    return keySet.empty() ? std::wstring(kPlaceholderKeySet) : keySet;
}

bool isControlCharacter(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isForbiddenInFileName(wchar_t c) {
    return std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

bool equalsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return asciiUpper(x) == asciiUpper(y); });
}

// Windows still maps "lang\CON.ini" and "lang\com1 .ini" to devices: the name before the first dot,
// trailing blanks dropped, decides.
bool isDeviceName(std::wstring_view code) {
    std::wstring_view stem = code.substr(0, code.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
    constexpr std::array<std::wstring_view, 6> kDevices{L"CON", L"PRN",    L"AUX",
                                                        L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::ranges::any_of(kDevices,
                            [&](std::wstring_view device) { return equalsIgnoringAsciiCase(stem, device); }))
        return true;
    if (stem.size() != 4) return false;
    const bool port = equalsIgnoringAsciiCase(stem.substr(0, 3), L"COM") ||
                      equalsIgnoringAsciiCase(stem.substr(0, 3), L"LPT");
    const wchar_t number = stem[3];
    // Superscript one, two and three count as port numbers too.
    return port && ((number >= L'0' && number <= L'9') || number == L'\u00B9' || number == L'\u00B2' ||
                    number == L'\u00B3');
}

}  // namespace

bool isSafeLanguageCode(std::wstring_view code) {
    if (code.find(L"..") != std::wstring_view::npos) return false;
    if (std::ranges::any_of(code,
                            [](wchar_t c) { return isControlCharacter(c) || isForbiddenInFileName(c); }))
        return false;
    return !isDeviceName(code);
}

namespace {

std::wstring usedLanguage(IniAccess& ini, const std::wstring& appFolder) {
    return ini.readIni(L"general", L"USEDLANGUAGE", L"en", appFolder + L"\\dax.ini");
}

}  // namespace

std::wstring wordListPath(IniAccess& ini, const std::wstring& appFolder) {
    const std::wstring code = usedLanguage(ini, appFolder);
    return isSafeLanguageCode(code) ? appFolder + L"\\lang\\" + code + L"-words.txt" : std::wstring{};
}

KeySets loadLanguageKeyMap(IniAccess& ini, const std::wstring& appFolder) {
    const std::wstring code = usedLanguage(ini, appFolder);
    if (!isSafeLanguageCode(code)) {
        return {std::wstring(kPlaceholderKeySet), std::wstring(kPlaceholderKeySet)};
    }
    const std::wstring languageFile = appFolder + L"\\lang\\" + code + L".ini";
    return {
        orPlaceholder(ini.readIni(L"osk", L"KEYMAP_NORMAL", L"", languageFile)),
        orPlaceholder(ini.readIni(L"osk", L"KEYMAP_SHIFT", L"", languageFile)),
    };
}

KeySets loadKeyMap(IniAccess& ini, const std::wstring& appFolder, const KeyboardSettings& settings) {
    // Exact and case-sensitive: "INI" or "Ini" select the user's sets.
    if (settings.keyMap == L"ini") return loadLanguageKeyMap(ini, appFolder);
    return {settings.keyMapUserLC, settings.keyMapUserUC};
}

}  // namespace tapkeys
