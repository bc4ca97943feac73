#include "settings/language_key_map.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
    // clang-format off
    const std::tuple<const wchar_t*, const wchar_t*, KeySets> cases[] = {
        {L"de", L"[OSK]\nkeymap_normal=qwertz\nKEYMAP_SHIFT=QWERTZ\n", {L"qwertz", L"QWERTZ"}},
        {L"fr", L"[osk]\nKEYMAP_NORMAL=azerty\n", {L"azerty", L"default"}}, {L"fr", L"[other]\nKEYMAP_NORMAL=azerty\n", kPlaceholders},
        {L"fr", L"[osk]\nKEYMAP_NORMAL=\nKEYMAP_SHIFT=AZERTY\n", {L"default", L"AZERTY"}},
        {L"", L"[osk]\nKEYMAP_NORMAL=n\nKEYMAP_SHIFT=s\n", {L"n", L"s"}}};  // ".ini"
    // clang-format on
    for (const auto& [code, file, expected] : cases) EXPECT_EQ(load(code, file), expected) << code << file;
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
    for (const wchar_t* keyMap : {L"ini", L"INI", L"Ini", L"user", L"", L"ini "}) {
        ini.pathsRead.clear();
        const KeySets sets =
            loadKeyMap(ini, kFolder, {false, L"", L"", 14, 0, keyMap, std::wstring(300, L'x'), L"", {}});
        const bool fromFile = keyMap == std::wstring_view(L"ini");
        EXPECT_EQ(sets, (fromFile ? KeySets{L"qwerty", L"QWERTY"} : KeySets{std::wstring(300, L'x'), L""}))
            << keyMap;
        EXPECT_EQ(ini.pathsRead.empty(), !fromFile) << keyMap;
    }
}

}  // namespace
}  // namespace tapkeys::testing
