#pragma once
// The key-map choice as the options dialog shows it and as the settings file stores it. Platform-free.

#include <string>
#include <string_view>

namespace tapkeys {

enum class KeyMapChoice { LanguageFile, UserDefined };

// Only the exact text "ini" means the language file; "INI", "" and everything else mean the user's sets.
KeyMapChoice keyMapChoice(std::wstring_view keyMap);
std::wstring keyMapValue(KeyMapChoice choice);

}  // namespace tapkeys
