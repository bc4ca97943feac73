#include "options/options_form.h"

namespace tapkeys {

KeyMapChoice keyMapChoice(std::wstring_view keyMap) {
    return keyMap == L"ini" ? KeyMapChoice::LanguageFile : KeyMapChoice::UserDefined;
}

std::wstring keyMapValue(KeyMapChoice choice) {
    return choice == KeyMapChoice::LanguageFile ? L"ini" : L"user";
}

}  // namespace tapkeys
