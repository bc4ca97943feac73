#include "settings/language_key_map.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_ini.h"

namespace tapkeys::testing {
namespace {

const std::wstring kFolder = L"C:\\Dax\\osk";
const std::wstring kHostFile = kFolder + L"\\dax.ini";
const KeySets kPlaceholders{L"default", L"default"};

class LanguageKeyMapTest : public ::testing::Test {
protected:
    void useLanguage(std::wstring_view code) { ini.putValue(kHostFile, L"general", L"USEDLANGUAGE", code); }
    void putLanguageFile(std::wstring_view code, std::wstring_view text) {
        ini.putFile(kFolder + L"\\lang\\" + std::wstring(code) + L".ini", text);
    }
    KeySets load() { return loadLanguageKeyMap(ini, kFolder); }

    FakeIni ini;
};

TEST_F(LanguageKeyMapTest, TheHostNamesTheLanguageFileAndEachEmptyLayerGetsThePlaceholder) {
    EXPECT_EQ(load(), kPlaceholders);
    putLanguageFile(L"en", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    EXPECT_EQ(load(), (KeySets{L"qwerty", L"QWERTY"}));  // English without a host configuration
    putLanguageFile(L"de", L"[OSK]\nkeymap_normal=qwertz\nKEYMAP_SHIFT=QWERTZ\n");
    useLanguage(L"de");
    EXPECT_EQ(load(), (KeySets{L"qwertz", L"QWERTZ"}));
    useLanguage(L"fr");
    putLanguageFile(L"fr", L"[osk]\nKEYMAP_NORMAL=azerty\n");
    EXPECT_EQ(load(), (KeySets{L"azerty", L"default"}));
    putLanguageFile(L"fr", L"[osk]\nKEYMAP_NORMAL=\nKEYMAP_SHIFT=AZERTY\n");
    EXPECT_EQ(load(), (KeySets{L"default", L"AZERTY"}));
    putLanguageFile(L"fr", L"[other]\nKEYMAP_NORMAL=azerty\n");
    EXPECT_EQ(load(), kPlaceholders);
    useLanguage(L"");  // names the file ".ini"
    putLanguageFile(L"", L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n");
    EXPECT_EQ(load(), (KeySets{L"n", L"s"}));
}

TEST_F(LanguageKeyMapTest, CodesThatAreNotPlainFileNamesReadNothingButTheHostFile) {
    // clang-format off
    const wchar_t* const unsafe[] = {L"..\\..\\secret", L"../secret", L"de\\..\\..\\x", L"C:\\secret", L"C:secret", L"a/b",
        L"..", L"...", L"de..", L"\\\\server\\share\\x", L"de:stream", L"de\x01", L"d\te", L"de*", L"d?", L"de|x",
        L"<de>", L"d\"e", L"con", L"NUL", L"aux.de", L"com1", L"LPT9", L"com\u00B9", L"conin$", L"prn "};
    // clang-format on
    for (const wchar_t* code : unsafe) {
        SCOPED_TRACE(::testing::PrintToString(code));
        FakeIni files;
        files.putValue(kHostFile, L"general", L"USEDLANGUAGE", code);
        // A naive join would find these values.
        files.putFile(kFolder + L"\\lang\\" + code + L".ini",
                      L"[osk]\nKEYMAP_NORMAL=leak\nKEYMAP_SHIFT=LEAK\n");
        EXPECT_EQ(loadLanguageKeyMap(files, kFolder), kPlaceholders);
        EXPECT_EQ(files.pathsRead, std::vector<std::wstring>{kHostFile});
        EXPECT_FALSE(isSafeLanguageCode(code));
    }
    for (const wchar_t* code : {L"de", L"pt-BR", L"zh_CN", L"en.old", L"english (US)", L"fran\u00E7ais",
                                L"console", L"com10", L"nul1"}) {
        useLanguage(code);
        putLanguageFile(code, L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n");
        EXPECT_EQ(load(), (KeySets{L"n", L"s"})) << ::testing::PrintToString(code);
    }
}

TEST_F(LanguageKeyMapTest, OnlyExactLowerCaseIniSelectsTheLanguageFileAndUserSetsAreCopiedUnchanged) {
    putLanguageFile(L"en", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    KeyboardSettings settings;
    settings.keyMap = L"ini";
    settings.keyMapUserLC = std::wstring(300, L'x');
    settings.keyMapUserUC = L" y ";
    EXPECT_EQ(loadKeyMap(ini, kFolder, settings), (KeySets{L"qwerty", L"QWERTY"}));
    ini.pathsRead.clear();
    for (const wchar_t* keyMap : {L"INI", L"Ini", L"user", L"", L"ini "}) {
        settings.keyMap = keyMap;
        EXPECT_EQ(loadKeyMap(ini, kFolder, settings), (KeySets{std::wstring(300, L'x'), L" y "})) << keyMap;
    }
    settings.keyMapUserLC.clear();  // no placeholder for an empty user set
    EXPECT_EQ(loadKeyMap(ini, kFolder, settings).normal, L"");
    EXPECT_TRUE(ini.pathsRead.empty());
}

}  // namespace
}  // namespace tapkeys::testing
