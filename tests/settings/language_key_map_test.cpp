#include "settings/language_key_map.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fake_ini.h"

namespace tapkeys::testing {
namespace {

const std::wstring kFolder = L"C:\\Dax\\osk";
const std::wstring kHostFile = kFolder + L"\\dax.ini";
const KeySets kPlaceholders{L"default", L"default"};

class LanguageKeyMapTest : public ::testing::Test {
protected:
    KeySets load(std::wstring_view code, std::wstring_view languageFile) {
        ini = {};
        ini.putFile(kHostFile, L"[general]\nUSEDLANGUAGE=" + std::wstring(code));
        ini.putFile(kFolder + L"\\lang\\" + std::wstring(code) + L".ini", languageFile);
        return loadLanguageKeyMap(ini, kFolder);
    }
    FakeIni ini;
};

// The host names the language file (English without a host file); each empty layer gets the
// placeholder.
TEST_F(LanguageKeyMapTest, TheHostNamesTheLanguageFileAndEachEmptyLayerGetsThePlaceholder) {
    ini.putFile(kFolder + L"\\lang\\en.ini", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    EXPECT_EQ(loadLanguageKeyMap(ini, kFolder), (KeySets{L"qwerty", L"QWERTY"}));
    EXPECT_EQ(load(L"de", L"[OSK]\nkeymap_normal=qwertz\nKEYMAP_SHIFT=QWERTZ\n"),
              (KeySets{L"qwertz", L"QWERTZ"}));
    EXPECT_EQ(load(L"fr", L"[osk]\nKEYMAP_NORMAL=azerty\n"), (KeySets{L"azerty", L"default"}));
    EXPECT_EQ(load(L"fr", L"[osk]\nKEYMAP_NORMAL=\nKEYMAP_SHIFT=AZERTY\n"), (KeySets{L"default", L"AZERTY"}));
    EXPECT_EQ(load(L"fr", L"[other]\nKEYMAP_NORMAL=azerty\n"), kPlaceholders);
    EXPECT_EQ(load(L"", L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n"), (KeySets{L"n", L"s"}));  // ".ini"
}

// A naive join would find the "leak" values; a device name would open a device, and reading it could
// block. Plain names that merely look like these still load.
TEST_F(LanguageKeyMapTest, CodesThatAreNotPlainFileNamesReadNothingButTheHostFile) {
    // clang-format off
    for (const wchar_t* code : {L"..\\..\\secret", L"../secret", L"de\\..\\..\\x", L"C:\\secret", L"C:secret", L"a/b",
             L"..", L"de..", L"\\\\server\\share\\x", L"de:stream", L"de\x01", L"d\te", L"de*", L"d?", L"de|x", L"<de>",
             L"d\"e", L"con", L"NUL", L"aux.de", L"com1", L"LPT9", L"com\u00B9", L"conin$", L"prn "}) {
        // clang-format on
        EXPECT_EQ(load(code, L"[osk]\nKEYMAP_NORMAL=leak\nKEYMAP_SHIFT=LEAK\n"), kPlaceholders) << code;
        EXPECT_EQ(ini.pathsRead, std::vector<std::wstring>{kHostFile}) << code;
    }
    for (const wchar_t* code :
         {L"pt-BR", L"zh_CN", L"en.old", L"english (US)", L"fran\u00E7ais", L"console", L"com10", L"nul1"}) {
        EXPECT_EQ(load(code, L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n"), (KeySets{L"n", L"s"})) << code;
    }
}

// Only exactly "ini" reads the language file; anything else takes the user's sets as they are, even
// empty or longer than a read returns, without opening a file.
TEST_F(LanguageKeyMapTest, OnlyExactLowerCaseIniSelectsTheLanguageFile) {
    ini.putFile(kFolder + L"\\lang\\en.ini", L"[osk]\nKEYMAP_NORMAL=qwerty\nKEYMAP_SHIFT=QWERTY\n");
    KeyboardSettings settings;
    settings.keyMap = L"ini";
    settings.keyMapUserLC = std::wstring(300, L'x');
    EXPECT_EQ(loadKeyMap(ini, kFolder, settings), (KeySets{L"qwerty", L"QWERTY"}));
    ini.pathsRead.clear();
    for (const wchar_t* keyMap : {L"INI", L"Ini", L"user", L"", L"ini "}) {
        settings.keyMap = keyMap;
        EXPECT_EQ(loadKeyMap(ini, kFolder, settings), (KeySets{std::wstring(300, L'x'), L""})) << keyMap;
    }
    EXPECT_TRUE(ini.pathsRead.empty());
}

}  // namespace
}  // namespace tapkeys::testing
