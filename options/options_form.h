#pragma once
// What the options dialog's controls hold, as a plain value: filled from the keyboard window's settings
// when the dialog opens, turned back into settings on OK. Platform-free.

#include <cstdint>
#include <string>
#include <string_view>

#include "options/font_choice.h"
#include "settings/keyboard_settings.h"

namespace tapkeys {

enum class KeyMapChoice { LanguageFile, UserDefined };

// Only the exact text "ini" means the language file; "INI", "" and everything else mean the user's sets.
KeyMapChoice keyMapChoice(std::wstring_view keyMap);
std::wstring keyMapValue(KeyMapChoice choice);

struct OptionsForm {
    bool safeMode = false;
    std::wstring fontFaceText;
    std::wstring fontSizeText;
    FontStyleChecks fontStyle;
    std::int32_t colorButtonFace = 0;  // 0x00BBGGRR
    KeyMapChoice keyMap = KeyMapChoice::UserDefined;
    std::wstring userKeymapLC;
    std::wstring userKeymapUC;
    ExtrasSettings extras;  // edited in the "More settings" dialog
    bool operator==(const OptionsForm&) const = default;
};

OptionsForm formFromSettings(const KeyboardSettings& settings);

// The face and the key-map texts are taken as they stand; the size follows fontSizeFromText.
KeyboardSettings settingsFromForm(const OptionsForm& form);

}  // namespace tapkeys
