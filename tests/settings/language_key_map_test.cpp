#include "settings/language_key_map.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_ini.h"

namespace tapkeys {
namespace {

using testing::FakeIni;

const std::wstring kFolder = L"C:\\Dax\\osk";
const std::wstring kHostFile = kFolder + L"\\dax.ini";
const KeySets kPlaceholders{L"default", L"default"};

class LanguageKeyMapTest : public ::testing::Test {
protected:
    void useLanguage(std::wstring_view code) { ini.putValue(kHostFile, L"general", L"USEDLANGUAGE", code); }
    void putLanguageFile(std::wstring_view code, std::wstring_view text) {
        ini.putFile(kFolder + L"\\lang\\" + std::wstring(code) + L".ini", text);
    }
    KeySets userSetsWith(std::wstring_view keyMap) {
        KeyboardSettings settings;
        settings.keyMap = keyMap;
        settings.keyMapUserLC = L"user normal";
        settings.keyMapUserUC = L"USER SHIFTED";
        return loadKeyMap(ini, kFolder, settings);
    }

    FakeIni ini;
};

TEST_F(LanguageKeyMapTest, WithoutHostFilesBothLayersShowThePlaceholder) {
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), kPlaceholders);
}

TEST_F(LanguageKeyMapTest, WithoutAHostConfigurationTheLanguageIsEnglish) {
    putLanguageFile(L"en", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), (KeySets{L"qwerty", L"QWERTY"}));
}

TEST_F(LanguageKeyMapTest, UsedLanguageNamesTheLanguageFile) {
    putLanguageFile(L"en", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    putLanguageFile(L"de", L"[OSK]\nkeymap_normal=qwertz\nKEYMAP_SHIFT=QWERTZ\n");
    useLanguage(L"de");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), (KeySets{L"qwertz", L"QWERTZ"}));
}

TEST_F(LanguageKeyMapTest, EachEmptyLayerGetsThePlaceholderOnItsOwn) {
    useLanguage(L"fr");
    putLanguageFile(L"fr", L"[osk]\nKEYMAP_NORMAL=azerty\n");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), (KeySets{L"azerty", L"default"}));
    putLanguageFile(L"fr", L"[osk]\nKEYMAP_NORMAL=\nKEYMAP_SHIFT=AZERTY\n");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), (KeySets{L"default", L"AZERTY"}));
    putLanguageFile(L"fr", L"[other]\nKEYMAP_NORMAL=azerty\n");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), kPlaceholders);
}

TEST_F(LanguageKeyMapTest, AnEmptyLanguageCodeNamesTheFileDotIni) {
    useLanguage(L"");
    putLanguageFile(L"", L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), (KeySets{L"n", L"s"}));
}

TEST_F(LanguageKeyMapTest, CodesThatAreNotPlainFileNamesReadNothingButTheHostFile) {
    for (const wchar_t* code : {L"..\\..\\secret",
                                L"../secret",
                                L"de\\..\\..\\x",
                                L"C:\\secret",
                                L"C:secret",
                                L"a/b",
                                L"..",
                                L"...",
                                L"de..",
                                L"\\\\server\\share\\x",
                                L"de:stream",
                                L"de\x01",
                                L"d\te",
                                L"de*",
                                L"d?",
                                L"de|x",
                                L"<de>",
                                L"d\"e",
                                L"con",
                                L"NUL",
                                L"aux.de",
                                L"com1",
                                L"LPT9",
                                L"com\u00B9",
                                L"conin$",
                                L"prn "}) {
        FakeIni files;
        files.putValue(kHostFile, L"general", L"USEDLANGUAGE", code);
        // A naive join would find these values.
        files.putFile(kFolder + L"\\lang\\" + code + L".ini",
                      L"[osk]\nKEYMAP_NORMAL=leak\nKEYMAP_SHIFT=LEAK\n");
        EXPECT_EQ(loadLanguageKeyMap(files, kFolder), kPlaceholders) << ::testing::PrintToString(code);
        EXPECT_EQ(files.pathsRead(), std::vector<std::wstring>{kHostFile}) << ::testing::PrintToString(code);
        EXPECT_FALSE(isSafeLanguageCode(code)) << ::testing::PrintToString(code);
    }
}

TEST_F(LanguageKeyMapTest, OrdinaryCodesAreAccepted) {
    for (const wchar_t* code : {L"de", L"pt-BR", L"zh_CN", L"en.old", L"english (US)", L"fran\u00E7ais",
                                L"console", L"com10", L"nul1"}) {
        FakeIni files;
        files.putValue(kHostFile, L"general", L"USEDLANGUAGE", code);
        files.putFile(kFolder + L"\\lang\\" + code + L".ini", L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n");
        EXPECT_EQ(loadLanguageKeyMap(files, kFolder), (KeySets{L"n", L"s"}))
            << ::testing::PrintToString(code);
    }
}

TEST_F(LanguageKeyMapTest, OnlyExactLowerCaseIniSelectsTheLanguageFile) {
    putLanguageFile(L"en", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    EXPECT_EQ(userSetsWith(L"ini"), (KeySets{L"qwerty", L"QWERTY"}));
    for (const wchar_t* keyMap : {L"INI", L"Ini", L"user", L"", L"ini "}) {
        EXPECT_EQ(userSetsWith(keyMap), (KeySets{L"user normal", L"USER SHIFTED"}))
            << ::testing::PrintToString(keyMap);
    }
}

TEST_F(LanguageKeyMapTest, UserSetsAreCopiedUnchangedWithoutPlaceholder) {
    KeyboardSettings settings;
    settings.keyMap = L"user";
    EXPECT_EQ(loadKeyMap(ini, kFolder, settings), (KeySets{L"", L""}));
    settings.keyMapUserLC = std::wstring(300, L'x');
    settings.keyMapUserUC = L" y ";
    EXPECT_EQ(loadKeyMap(ini, kFolder, settings), (KeySets{std::wstring(300, L'x'), L" y "}));
    EXPECT_TRUE(ini.pathsRead().empty());
}

}  // namespace
}  // namespace tapkeys
