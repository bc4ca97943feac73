// The sample host files that the packages ship, read the way tapkeys reads them: through
// GetPrivateProfileStringA, as 8-bit text in the ANSI code page (Windows-1252 for these languages).
// The build copies dax.ini and lang\*.ini into the folder "samples" beside this test.

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "settings/language_key_map.h"
#include "settings/profile_ini.h"
#include "win32/ansi_text.h"
#include "win32/module_path.h"

namespace tapkeys::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(executableFolder()) / L"samples";

std::string readValue(const fs::path& file, const char* section, const char* key) {
    char buffer[256]{};
    return {buffer, ::GetPrivateProfileStringA(section, key, "", buffer, 255, file.string().c_str())};
}

// The key sets of a language file, decoded as Windows-1252.
KeySets readLayers(const fs::path& file) {
    const auto decode = [](const std::string& bytes) {
        std::wstring text(bytes.size(), L'\0');
        text.resize(
            static_cast<size_t>(::MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                      text.data(), static_cast<int>(text.size()))));
        return text;
    };
    return {decode(readValue(file, "osk", "KEYMAP_NORMAL")), decode(readValue(file, "osk", "KEYMAP_SHIFT"))};
}

wchar_t upper(wchar_t c) {
    ::CharUpperBuffW(&c, 1);
    return c;
}

// Where the letter rows of each national layout begin: a missing or extra character in an earlier
// row moves every later key, which these anchors catch.
struct KeyboardRows {
    const wchar_t* code;
    const wchar_t* topLetters;     // from key 12, the first key of the second row
    const wchar_t* homeLetters;    // from key 24
    const wchar_t* bottomLetters;  // from key 37, right of the extra key at 36
    bool digitsShifted;            // the digits row types digits only with Shift (AZERTY)
};
constexpr KeyboardRows kRows[] = {
    {L"en", L"qwertyuiop", L"asdfghjkl", L"zxcvbnm", false},
    {L"de", L"qwertzuiop", L"asdfghjkl", L"yxcvbnm", false},
    {L"fr", L"azertyuiop", L"qsdfghjklm", L"wxcvbn", true},
    {L"es", L"qwertyuiop", L"asdfghjkl", L"zxcvbnm", false},
};

TEST(LanguageFiles, AreWindows1252TextWithCrlfLineEndsAndOneCharacterPerKey) {
    // The A functions hand out bytes in the ANSI code page; the layers are only meaningful in 1252.
    ASSERT_EQ(::GetACP(), 1252u) << "run the test under a Western European system locale";
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(kSamples / L"lang")) {
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        std::ifstream in{entry.path(), std::ios::binary};
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "a UTF-8 byte order mark";
        if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; })) {
            EXPECT_EQ(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                                            nullptr, 0),
                      0)
                << "the file is UTF-8, not Windows-1252";
        }
        for (size_t i = 0; i < bytes.size(); ++i) {
            EXPECT_FALSE(bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
                << "LF without CR at byte " << i;
            EXPECT_FALSE(bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
                << "lone CR at " << i;
        }
        EXPECT_EQ(bytes.back(), '\n') << "the last line has no line end";

        const KeySets layers = readLayers(entry.path());
        ASSERT_EQ(layers.normal.size(), 47u);
        ASSERT_EQ(layers.shifted.size(), 47u);
        std::set<wchar_t> seen;
        for (const wchar_t c : layers.normal + layers.shifted) {
            // Blanks have their own key, and control characters (0x81, 0x8D, ... decode to them) would
            // show as nothing; no character sits on two keys.
            EXPECT_TRUE(c > L' ' && !(c >= 0x7F && c <= 0xA0)) << "character U+" << std::hex << int(c);
            EXPECT_TRUE(seen.insert(c).second) << "character U+" << std::hex << int(c) << " on two keys";
        }
        for (wchar_t letter = L'a'; letter <= L'z'; ++letter) EXPECT_TRUE(seen.count(letter)) << char(letter);
        // A letter key shifts to its capital, and a capital belongs to its small letter; other keys shift
        // to anything (the French é to 2, the French * to µ).
        for (size_t i = 0; i < 47; ++i) {
            const wchar_t normal = layers.normal[i], shifted = layers.shifted[i];
            EXPECT_FALSE(::IsCharUpperW(normal)) << "capital in the normal layer at key " << i;
            EXPECT_EQ(upper(shifted), shifted) << "small letter in the shifted layer at key " << i;
            if (::IsCharUpperW(shifted) || (normal >= L'a' && normal <= L'z')) {
                EXPECT_EQ(shifted, upper(normal)) << "key " << i;
            }
        }
    }
    EXPECT_EQ(files, std::size(kRows));
}

TEST(LanguageFiles, KeysFollowTheRowsOfTheNationalLayout) {
    for (const KeyboardRows& rows : kRows) {
        SCOPED_TRACE(toAnsi(rows.code));
        const KeySets layers = readLayers(kSamples / L"lang" / (std::wstring(rows.code) + L".ini"));
        EXPECT_EQ((rows.digitsShifted ? layers.shifted : layers.normal).substr(0, 10), L"1234567890");
        EXPECT_EQ(layers.normal.substr(12, wcslen(rows.topLetters)), rows.topLetters);
        EXPECT_EQ(layers.normal.substr(24, wcslen(rows.homeLetters)), rows.homeLetters);
        EXPECT_EQ(layers.normal.substr(37, wcslen(rows.bottomLetters)), rows.bottomLetters);
    }
}

// The program's own loader: the sample dax.ini names lang\en.ini, whose layers arrive whole.
TEST(LanguageFiles, SampleHostSettingsChooseEnglishForTheKeyboard) {
    EXPECT_EQ(readValue(kSamples / L"dax.ini", "general", "USEDLANGUAGE"), "en");
    ProfileIni ini;
    const KeySets sets = loadLanguageKeyMap(ini, kSamples.wstring());
    EXPECT_EQ(sets, readLayers(kSamples / L"lang" / L"en.ini"));
    EXPECT_EQ(sets.normal.size(), 47u);
}

}  // namespace
}  // namespace tapkeys::testing
