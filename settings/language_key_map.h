#pragma once
// Where the key sets come from: the host application's language file or the user's own sets.

#include <string>
#include <string_view>

#include "settings/ini_access.h"
#include "settings/keyboard_settings.h"

namespace tapkeys {

struct KeySets {
    std::wstring normal;   // keySetLC
    std::wstring shifted;  // keySetUC
    bool operator==(const KeySets&) const = default;
};

// loadKeyMap: the language file when keyMap is exactly "ini", else the user sets unchanged.
// appFolder is the folder of the executable, without a trailing backslash.
KeySets loadKeyMap(IniAccess& ini, const std::wstring& appFolder, const KeyboardSettings& settings);

// loadLanguageKeyMap: "general"/"USEDLANGUAGE" of <appFolder>\dax.ini names <appFolder>\lang\<code>.ini;
// each empty layer becomes the placeholder "default". A code that is not a plain file name (see
// isSafeLanguageCode) reads like a missing language file: both layers are the placeholder.
KeySets loadLanguageKeyMap(IniAccess& ini, const std::wstring& appFolder);

// The word list of word prediction for the language dax.ini names: <appFolder>\lang\<code>-words.txt;
// empty for a code that is not a plain file name.
std::wstring wordListPath(IniAccess& ini, const std::wstring& appFolder);

// Whether a language code names nothing but a file inside the "lang" folder: no path separators, drive
// or stream colons, "..", control characters, wildcards or other characters Windows forbids in file
// names, and no DOS device name (CON, NUL, COM1, ...), which would open a device instead of a file.
// The empty code is allowed: it names the file ".ini".
bool isSafeLanguageCode(std::wstring_view code);

}  // namespace tapkeys
