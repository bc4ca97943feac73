#pragma once
// Where the key sets come from: the host application's language file or the user's own sets.

#include <string>

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
// each empty layer becomes the placeholder "default".
KeySets loadLanguageKeyMap(IniAccess& ini, const std::wstring& appFolder);

}  // namespace tapkeys
