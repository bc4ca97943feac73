#include "options/options_form.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

KeyboardSettings typicalSettings() {
    return {.useSafeMode = true,
            .fontFace = L"Courier New",
            .fontStyle = L"bu",
            .fontSze = 14,
            .fontColor = 0x00336699,
            .keyMap = L"user",
            .keyMapUserLC = L"1234567890ß´qwertzuiopü+asdfghjklöä#<yxcvbnm,.-",
            .keyMapUserUC = L"!\"§$%&/()=?`QWERTZUIOPÜ*ASDFGHJKLÖÄ'>YXCVBNM;:_"};
}

TEST(KeyMapChoice, OnlyTheExactTextIniSelectsTheLanguageFile) {
    EXPECT_EQ(keyMapChoice(L"ini"), KeyMapChoice::LanguageFile);
    EXPECT_EQ(keyMapChoice(L"INI"), KeyMapChoice::UserDefined);
    EXPECT_EQ(keyMapChoice(L"ini "), KeyMapChoice::UserDefined);
    EXPECT_EQ(keyMapChoice(L""), KeyMapChoice::UserDefined);
    EXPECT_EQ(keyMapValue(KeyMapChoice::LanguageFile), L"ini");
    EXPECT_EQ(keyMapValue(KeyMapChoice::UserDefined), L"user");
}

TEST(OptionsForm, ShowsTheMembers) {
    const OptionsForm form = formFromSettings(typicalSettings());
    EXPECT_TRUE(form.safeMode);
    EXPECT_EQ(form.fontFaceText, L"Courier New");
    EXPECT_EQ(form.fontSizeText, L"14pt");
    EXPECT_EQ(form.fontStyle, (FontStyleChecks{.bold = true, .underline = true}));
    EXPECT_EQ(form.colorButtonFace, 0x00336699);
    EXPECT_EQ(form.keyMap, KeyMapChoice::UserDefined);
    EXPECT_EQ(form.userKeymapLC, typicalSettings().keyMapUserLC);
    EXPECT_EQ(form.userKeymapUC, typicalSettings().keyMapUserUC);
}

TEST(OptionsForm, OkWithoutChangesStoresTheMembersUnchanged) {
    EXPECT_EQ(settingsFromForm(formFromSettings(typicalSettings())), typicalSettings());

    KeyboardSettings languageFile = typicalSettings();
    languageFile.keyMap = L"ini";
    languageFile.useSafeMode = false;
    languageFile.fontStyle = L"bisu";
    EXPECT_EQ(settingsFromForm(formFromSettings(languageFile)), languageFile);
}

TEST(OptionsForm, OkNormalisesWhatTheDialogCannotShowAsItWas) {
    KeyboardSettings settings = typicalSettings();
    settings.keyMap = L"INI";
    settings.fontStyle = L"ub!";
    const KeyboardSettings stored = settingsFromForm(formFromSettings(settings));
    EXPECT_EQ(stored.keyMap, L"user");
    EXPECT_EQ(stored.fontStyle, L"bu");
}

TEST(OptionsForm, StoresTypedTextsAsTheyStand) {
    OptionsForm form = formFromSettings(typicalSettings());
    form.fontFaceText = L"  No Such Face ";
    form.fontSizeText = L"300";
    form.userKeymapLC.clear();
    form.userKeymapUC = L"abc";
    form.keyMap = KeyMapChoice::LanguageFile;
    const KeyboardSettings stored = settingsFromForm(form);
    EXPECT_EQ(stored.fontFace, L"  No Such Face ");
    EXPECT_EQ(stored.fontSze, 8);
    EXPECT_EQ(stored.keyMap, L"ini");
    EXPECT_EQ(stored.keyMapUserLC, L"");
    EXPECT_EQ(stored.keyMapUserUC, L"abc");
}

}  // namespace
}  // namespace tapkeys
