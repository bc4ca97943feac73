#include "options/options_form.h"

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
            .userKeymapUC = settings.keyMapUserUC,
            .extras = settings.extras};
}

KeyboardSettings settingsFromForm(const OptionsForm& form) {
    return {.useSafeMode = form.safeMode,
            .fontFace = form.fontFaceText,
            .fontStyle = fontStyleLetters(form.fontStyle),
            .fontSze = fontSizeFromText(form.fontSizeText),
            .fontColor = form.colorButtonFace,
            .keyMap = keyMapValue(form.keyMap),
            .keyMapUserLC = form.userKeymapLC,
            .keyMapUserUC = form.userKeymapUC,
            .extras = form.extras};
}

}  // namespace tapkeys
