// The sample host files that the packages ship, read the way tapkeys reads them: through the ANSI
// profile functions, as 8-bit text in the ANSI code page (Windows-1252 for these languages). The build
// copies dax.ini and lang\*.ini into the folder "samples" beside this test.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "settings/language_key_map.h"
#include "settings/profile_ini.h"
#include "win32/module_path.h"

namespace tapkeys::testing {
namespace {

namespace fs = std::filesystem;

// Where the rows of each national layout begin: the digits (shifted on AZERTY), then the letters from
// keys 12, 24 and 37 (right of the extra key at 36). A missing or extra character in an earlier row
// moves every later key, which these anchors catch.
const std::map<std::wstring, std::array<std::wstring, 4>> kRows{
    {L"en", {L"1234567890", L"qwertyuiop", L"asdfghjkl", L"zxcvbnm"}},
    {L"de", {L"1234567890", L"qwertzuiop", L"asdfghjkl", L"yxcvbnm"}},
    {L"fr", {L"", L"azertyuiop", L"qsdfghjklm", L"wxcvbn"}},
    {L"es", {L"1234567890", L"qwertyuiop", L"asdfghjkl", L"zxcvbnm"}}};

// Text with CR LF line ends, not UTF-8; one character per key, none on two keys, every letter present.
// Blanks have their own key, and control characters (0x81, 0x8D, ... decode to them) would show as
// nothing. A letter key shifts to its capital and a capital belongs to its small letter; other keys
// shift to anything (the French é to 2). The sample dax.ini chooses English.
TEST(LanguageFiles, AreWindows1252TextWithOneCharacterPerKeyInTheRowsOfTheNationalLayout) {
    const auto upper = [](wchar_t c) { return ::CharUpperBuffW(&c, 1), c; };
    ASSERT_EQ(::GetACP(), 1252u) << "run the test under a Western European system locale";
    const fs::path samples = fs::path(executableFolder()) / L"samples";
    ProfileIni ini;
    std::map<std::wstring, KeySets> files;
    for (const auto& entry : fs::directory_iterator(samples / L"lang")) {
        const std::wstring code = entry.path().stem().wstring();
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in{entry.path(), std::ios::binary};
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                                        nullptr, 0) == 0,
                  std::ranges::any_of(bytes, [](char c) { return c & 0x80; }))
            << "UTF-8, not Windows-1252";
        std::ptrdiff_t pairs = 0;
        for (size_t at = 0; (at = bytes.find("\r\n", at)) != bytes.npos; at += 2) ++pairs;
        EXPECT_TRUE(bytes.ends_with("\r\n") && std::ranges::count(bytes, '\r') == pairs &&
                    std::ranges::count(bytes, '\n') == pairs)
            << "not CR LF lines";
        const KeySets layers =
            files[code] = {ini.readIni(L"osk", L"KEYMAP_NORMAL", L"", entry.path().wstring()),
                           ini.readIni(L"osk", L"KEYMAP_SHIFT", L"", entry.path().wstring())};
        ASSERT_TRUE(layers.normal.size() == 47 && layers.shifted.size() == 47);
        std::set<wchar_t> seen;
        for (size_t i = 0; i < 47; ++i) {
            const wchar_t normal = layers.normal[i], shifted = layers.shifted[i];
            for (const wchar_t c : {normal, shifted})
                EXPECT_TRUE(c > L' ' && !(c >= 0x7F && c <= 0xA0) && seen.insert(c).second)
                    << "U+" << std::hex << int(c);
            EXPECT_TRUE(!::IsCharUpperW(normal) && upper(shifted) == shifted)
                << "key " << i << " in the wrong case";
            const bool letterKey = ::IsCharUpperW(shifted) || (normal >= L'a' && normal <= L'z');
            EXPECT_TRUE(!letterKey || shifted == upper(normal)) << "key " << i;
        }
        for (wchar_t letter = L'a'; letter <= L'z'; ++letter) EXPECT_TRUE(seen.count(letter)) << char(letter);
        const auto& [digits, top, home, bottom] = kRows.at(code);
        EXPECT_EQ((digits.empty() ? layers.shifted : layers.normal).substr(0, 10), L"1234567890");
        EXPECT_EQ(layers.normal.substr(12, top.size()) + L"|" + layers.normal.substr(24, home.size()) + L"|" +
                      layers.normal.substr(37, bottom.size()),
                  top + L"|" + home + L"|" + bottom);
    }
    EXPECT_EQ(files.size(), kRows.size());
    EXPECT_EQ(loadLanguageKeyMap(ini, samples.wstring()), files[L"en"]);
}

}  // namespace
}  // namespace tapkeys::testing
