// The sample host files that the packages ship, read the way tapkeys reads them: through
// GetPrivateProfileStringA, as 8-bit text in the ANSI code page (Windows-1252 for these languages).
// The build copies dax.ini and lang\*.ini into the folder "samples" beside this test.

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "keyboard/runtime/text.h"
#include "settings/language_key_map.h"
#include "settings/profile_ini.h"

namespace tapkeys::testing {
namespace {

namespace fs = std::filesystem;

constexpr size_t kKeyCount = 47;
constexpr UINT kWesternCodePage = 1252;

fs::path samplesFolder() {
    return fs::path(executableFolder()) / L"samples";
}

std::string fileBytes(const fs::path& path) {
    std::ifstream file{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string readValue(const fs::path& file, const char* section, const char* key) {
    char buffer[256]{};
    const DWORD n = ::GetPrivateProfileStringA(section, key, "", buffer, 255, file.string().c_str());
    return {buffer, n};
}

std::wstring decode(const std::string& bytes, UINT codePage) {
    const int size = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), n);
    return text;
}

bool isValidUtf8(const std::string& bytes) {
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                 nullptr, 0) > 0;
}

wchar_t upper(wchar_t c) {
    ::CharUpperBuffW(&c, 1);
    return c;
}

wchar_t lower(wchar_t c) {
    ::CharLowerBuffW(&c, 1);
    return c;
}

struct Layers {
    std::wstring normal;
    std::wstring shifted;
};

Layers readLayers(const fs::path& file) {
    return {decode(readValue(file, "osk", "KEYMAP_NORMAL"), kWesternCodePage),
            decode(readValue(file, "osk", "KEYMAP_SHIFT"), kWesternCodePage)};
}

std::vector<fs::path> languageFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(samplesFolder() / L"lang")) {
        if (entry.path().extension() == L".ini") files.push_back(entry.path());
    }
    return files;
}

class LanguageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // The A functions hand out bytes in the ANSI code page; the layers are only meaningful in 1252.
        ASSERT_EQ(::GetACP(), kWesternCodePage) << "run the test under a Western European system locale";
    }
};

TEST_F(LanguageFiles, TheFourLanguagesAreThere) {
    for (const wchar_t* code : {L"en", L"de", L"fr", L"es"}) {
        EXPECT_TRUE(fs::exists(samplesFolder() / L"lang" / (std::wstring(code) + L".ini"))) << code;
    }
}

TEST_F(LanguageFiles, AreWindows1252TextWithCrlfLineEnds) {
    for (const fs::path& file : languageFiles()) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = fileBytes(file);
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "a UTF-8 byte order mark";
        const bool hasHighBytes = std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
        if (hasHighBytes) {
            EXPECT_FALSE(isValidUtf8(bytes)) << "the file is UTF-8, not Windows-1252";
        }
        for (size_t i = 0; i < bytes.size(); ++i) {
            const bool crBefore = i > 0 && bytes[i - 1] == '\r';
            const bool lfAfter = i + 1 < bytes.size() && bytes[i + 1] == '\n';
            EXPECT_FALSE(bytes[i] == '\n' && !crBefore) << "LF without CR at byte " << i;
            EXPECT_FALSE(bytes[i] == '\r' && !lfAfter) << "CR without LF at byte " << i;
        }
        EXPECT_EQ(bytes.back(), '\n') << "the last line has no line end";
    }
}

TEST_F(LanguageFiles, EachLayerHoldsOnePrintableCharacterPerKey) {
    for (const fs::path& file : languageFiles()) {
        SCOPED_TRACE(file.filename().string());
        const Layers layers = readLayers(file);
        EXPECT_EQ(layers.normal.size(), kKeyCount);
        EXPECT_EQ(layers.shifted.size(), kKeyCount);
        for (const std::wstring& layer : {layers.normal, layers.shifted}) {
            for (wchar_t c : layer) {
                // Blanks have their own key, and control characters (0x81, 0x8D, ... decode to them)
                // would show as nothing.
                EXPECT_TRUE(c > L' ' && !(c >= 0x7F && c <= 0xA0)) << "character U+" << std::hex << int(c);
            }
        }
    }
}

TEST_F(LanguageFiles, NoCharacterSitsOnTwoKeys) {
    for (const fs::path& file : languageFiles()) {
        SCOPED_TRACE(file.filename().string());
        const Layers layers = readLayers(file);
        std::map<wchar_t, size_t> seen;
        const std::wstring both = layers.normal + layers.shifted;
        for (size_t i = 0; i < both.size(); ++i) {
            const auto [where, added] = seen.emplace(both[i], i);
            EXPECT_TRUE(added) << "character " << int(both[i]) << " at " << where->second << " and " << i;
        }
    }
}

TEST_F(LanguageFiles, ShiftGivesTheCapitalOfEachLetter) {
    for (const fs::path& file : languageFiles()) {
        SCOPED_TRACE(file.filename().string());
        const Layers layers = readLayers(file);
        ASSERT_EQ(layers.normal.size(), layers.shifted.size());
        for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
            EXPECT_NE(layers.normal.find(letter), std::wstring::npos) << "no key for " << char(letter);
        }
        for (size_t i = 0; i < layers.normal.size(); ++i) {
            const wchar_t normal = layers.normal[i];
            const wchar_t shifted = layers.shifted[i];
            EXPECT_EQ(lower(normal), normal) << "capital in the normal layer at key " << i;
            EXPECT_EQ(upper(shifted), shifted) << "small letter in the shifted layer at key " << i;
            // A letter key shifts to its capital, and a capital belongs to its small letter; other
            // keys shift to anything (the French é to 2, the French * to µ).
            if (::IsCharUpperW(shifted) || (normal >= L'a' && normal <= L'z')) {
                EXPECT_EQ(shifted, upper(normal)) << "key " << i;
            }
        }
    }
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

TEST_F(LanguageFiles, KeysFollowTheRowsOfTheNationalLayout) {
    for (const KeyboardRows& rows : kRows) {
        SCOPED_TRACE(toAnsi(rows.code));
        const Layers layers = readLayers(samplesFolder() / L"lang" / (std::wstring(rows.code) + L".ini"));
        const std::wstring& digitsLayer = rows.digitsShifted ? layers.shifted : layers.normal;
        EXPECT_EQ(digitsLayer.substr(0, 10), L"1234567890") << "digits row of " << rows.code;
        EXPECT_EQ(layers.normal.substr(12, wcslen(rows.topLetters)), rows.topLetters) << rows.code;
        EXPECT_EQ(layers.normal.substr(24, wcslen(rows.homeLetters)), rows.homeLetters) << rows.code;
        EXPECT_EQ(layers.normal.substr(37, wcslen(rows.bottomLetters)), rows.bottomLetters) << rows.code;
    }
}

TEST_F(LanguageFiles, SampleHostSettingsChooseEnglishForTheKeyboard) {
    const fs::path dax = samplesFolder() / L"dax.ini";
    EXPECT_EQ(readValue(dax, "general", "USEDLANGUAGE"), "en");

    // The program's own loader: dax.ini names lang\en.ini, whose layers arrive whole.
    ProfileIni ini;
    const KeySets sets = loadLanguageKeyMap(ini, samplesFolder().wstring());
    const Layers english = readLayers(samplesFolder() / L"lang" / L"en.ini");
    EXPECT_EQ(sets.normal, english.normal);
    EXPECT_EQ(sets.shifted, english.shifted);
    EXPECT_EQ(sets.normal.size(), kKeyCount);
}

}  // namespace
}  // namespace tapkeys::testing
