#include "options/options_form.h"

#include <utility>

namespace tapkeys {

KeyMapChoice keyMapChoice(std::wstring_view keyMap) {
    return keyMap == L"ini" ? KeyMapChoice::LanguageFile : KeyMapChoice::UserDefined;
}

std::wstring keyMapValue(KeyMapChoice choice) {
    return choice == KeyMapChoice::LanguageFile ? L"ini" : L"user";
}

OptionsForm formFromSettings(const KeyboardSettings& settings) {
    return {.safeMode = settings.useSafeMode,
            .fontFaceText = settings.fontFace,
            .fontSizeText = fontSizeText(settings.fontSze),
            .fontStyle = fontStyleChecks(settings.fontStyle),
            .colorButtonFace = settings.fontColor,
            .keyMap = keyMapChoice(settings.keyMap),
            .userKeymapLC = settings.keyMapUserLC,
            .userKeymapUC = settings.keyMapUserUC};
}

KeyboardSettings settingsFromForm(const OptionsForm& form, KeyboardSettings unshown) {
    KeyboardSettings settings = std::move(unshown);
    settings.useSafeMode = form.safeMode;
    settings.fontFace = form.fontFaceText;
    settings.fontStyle = fontStyleLetters(form.fontStyle);
    settings.fontSze = fontSizeFromText(form.fontSizeText);
    settings.fontColor = form.colorButtonFace;
    settings.keyMap = keyMapValue(form.keyMap);
    settings.keyMapUserLC = form.userKeymapLC;
    settings.keyMapUserUC = form.userKeymapUC;
    return settings;
}

}  // namespace tapkeys
