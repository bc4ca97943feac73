// Damaged host and settings files read through the real profile functions: whatever the bytes, the key
// sets and settings that come back are usable (never empty where the placeholder is due, never longer
// than a read returns, every number in range), and a language code never reaches outside the lang folder.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "settings/keyboard_settings.h"
#include "settings/language_key_map.h"
#include "settings/profile_ini.h"
#include "win32/ansi_text.h"

namespace tapkeys {
namespace {

namespace fs = std::filesystem;

const KeySets kPlaceholders{L"default", L"default"};
constexpr ScreenGeometry kScreen{1024, 768, 632, 217};

class HostFilesTest : public ::testing::Test {
protected:
    HostFilesTest() {
        static int created = 0;
        folder_ = fs::temp_directory_path() / (L"tapkeys-faults-" + std::to_wstring(::GetCurrentProcessId()) +
                                               L"-" + std::to_wstring(++created));
        fs::create_directories(folder_ / L"lang");
    }
    ~HostFilesTest() override {
        flushProfileCache();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void write(const std::wstring& relative, std::string_view bytes) {
        flushProfileCache();
        fs::create_directories((folder_ / relative).parent_path());
        std::ofstream(folder_ / relative, std::ios::binary) << bytes;
    }
    void hostLanguage(std::string_view code) {
        write(L"dax.ini", "[general]\r\nUSEDLANGUAGE=" + std::string(code) + "\r\n");
    }
    void languageFile(std::string_view bytes) { write(L"lang\\xx.ini", bytes); }

    KeySets keySets() { return loadLanguageKeyMap(ini_, folder_.wstring()); }
    std::wstring settingsPath() const { return (folder_ / L"tapkeys.ini").wstring(); }
    LoadedSettings settings() { return loadSettings(ini_, settingsPath(), kScreen); }

    // Windows keeps a profile it read in a cache; a file rewritten under it must be read afresh.
    static void flushProfileCache() { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr); }

    fs::path folder_;
    ProfileIni ini_;
};

std::string junk(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

void expectUsable(const KeySets& sets) {
    EXPECT_FALSE(sets.normal.empty());
    EXPECT_FALSE(sets.shifted.empty());
    EXPECT_LE(sets.normal.size(), 254u);
    EXPECT_LE(sets.shifted.size(), 254u);
}

TEST_F(HostFilesTest, MissingOrEmptyLanguageFileGivesThePlaceholderOnBothLayers) {
    hostLanguage("xx");
    EXPECT_EQ(keySets(), kPlaceholders);
    languageFile("");
    EXPECT_EQ(keySets(), kPlaceholders);
    languageFile("[osk]\r\n");
    EXPECT_EQ(keySets(), kPlaceholders);
}

TEST_F(HostFilesTest, ValuesOf300CharactersComeBackAsTheirFirst254) {
    hostLanguage("xx");
    languageFile("[osk]\r\nKEYMAP_NORMAL=" + std::string(300, 'n') +
                 "\r\nKEYMAP_SHIFT=" + std::string(150, 'S') + std::string(150, 'T') + "\r\n");
    EXPECT_EQ(keySets(),
              (KeySets{std::wstring(254, L'n'), std::wstring(150, L'S') + std::wstring(104, L'T')}));
}

TEST_F(HostFilesTest, BinaryJunkGivesUsableKeySets) {
    hostLanguage("xx");
    for (unsigned seed = 1; seed <= 20; ++seed) {
        languageFile(junk(64 + 97 * seed, seed));
        expectUsable(keySets());
        // Junk after a good section header still reads as values of that section.
        languageFile("[osk]\r\nKEYMAP_NORMAL=" + junk(40 + seed, seed) + "\r\nKEYMAP_SHIFT=x" +
                     junk(300, seed + 99));
        expectUsable(keySets());
    }
}

TEST_F(HostFilesTest, LanguageCodeOfJunkReadsNothingOutsideTheLangFolder) {
    write(L"secret.ini", "[osk]\r\nKEYMAP_NORMAL=leak\r\nKEYMAP_SHIFT=LEAK\r\n");
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::string code = junk(8 + seed, seed);
        for (char& byte : code) {
            if (byte == '\r' || byte == '\n' || byte == '\0') byte = '\\';
        }
        hostLanguage(code);
        const KeySets sets = keySets();
        expectUsable(sets);
        EXPECT_NE(sets.normal, L"leak");
    }
}

TEST_F(HostFilesTest, PathsDevicesAndStreamsInTheLanguageCodeGiveThePlaceholder) {
    write(L"secret.ini", "[osk]\r\nKEYMAP_NORMAL=leak\r\nKEYMAP_SHIFT=LEAK\r\n");
    write(L"lang\\sub\\de.ini", "[osk]\r\nKEYMAP_NORMAL=sub\r\nKEYMAP_SHIFT=SUB\r\n");
    const std::string absolute = toAnsi(folder_.wstring()) + "\\secret";
    // A device name would open the console or a port instead of a file, and a read from it could block.
    for (const std::string& code :
         {absolute, std::string("sub\\de"), std::string("sub/de"), std::string(".."), std::string("CON"),
          std::string("nul"), std::string("COM1"), std::string("lpt1 "), std::string("de:stream"),
          std::string("*")}) {
        hostLanguage(code);
        EXPECT_EQ(keySets(), kPlaceholders) << code;
    }
}

TEST_F(HostFilesTest, UnicodeLanguageFileWithByteOrderMarkReadsItsCharacters) {
    hostLanguage("xx");
    const std::u16string text =
        u"\uFEFF[osk]\r\nKEYMAP_NORMAL=\u00E4\u00F6\u00FC\r\nKEYMAP_SHIFT=\u00C4\u00D6\u00DC\r\n";
    languageFile(std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)));
    const KeySets sets = keySets();
    if (fromAnsi(toAnsi(L"\u00E4")) != L"\u00E4") GTEST_SKIP() << "the ANSI code page has no umlauts";
    EXPECT_EQ(sets, (KeySets{L"\u00E4\u00F6\u00FC", L"\u00C4\u00D6\u00DC"}));
}

// UTF-8 is not the files' encoding: without a byte order mark each byte is a character of the ANSI
// code page, so the keys show the bytes (and every later key moves on). Nothing breaks.
TEST_F(HostFilesTest, Utf8LanguageFileReadsAsItsBytes) {
    if (::GetACP() != 1252) GTEST_SKIP() << "the expectation is written for code page 1252";
    hostLanguage("xx");
    languageFile("[osk]\r\nKEYMAP_NORMAL=\xC3\xA4x\r\nKEYMAP_SHIFT=\xE2\x82\xAC\r\n");
    EXPECT_EQ(keySets(), (KeySets{L"\u00C3\u00A4x", L"\u00E2\u201A\u00AC"}));
    // With a byte order mark Windows and Wine part ways (Wine decodes it); either way the sets are usable.
    languageFile("\xEF\xBB\xBF[osk]\r\nKEYMAP_NORMAL=\xC3\xA4x\r\nKEYMAP_SHIFT=\xE2\x82\xAC\r\n");
    expectUsable(keySets());
}

TEST_F(HostFilesTest, DamagedSettingsFileLoadsInRange) {
    const std::u16string unicode = u"\uFEFF[fonts]\r\nFONTSIZE=300\r\n[misc]\r\nSAFEMODE=1\r\nWINDOWX=-1\r\n";
    const std::string files[] = {
        junk(500, 7),
        "[fonts]\r\nFONTSIZE=" + std::string(300, '9') + "\r\nFONTCOLOR=-" + std::string(300, '9') +
            "\r\nFONTFACE=" + std::string(300, 'f') + "\r\n[misc]\r\nWINDOWX=1e999\r\nWINDOWY=nan\r\n",
        std::string(reinterpret_cast<const char*>(unicode.data()), unicode.size() * sizeof(char16_t)),
    };
    for (const std::string& file : files) {
        write(L"tapkeys.ini", file);
        const LoadedSettings loaded = settings();
        EXPECT_GE(loaded.settings.fontSze, 8);
        EXPECT_LE(loaded.settings.fontSze, 255);
        EXPECT_LE(loaded.settings.fontFace.size(), 254u);
        const int x = loaded.windowX.value_or(0), y = loaded.windowY.value_or(0);
        EXPECT_TRUE(x >= 0 && x < kScreen.screenWidth - 10) << x;
        EXPECT_TRUE(y >= 0 && y < kScreen.screenHeight - 10) << y;
    }
}

}  // namespace
}  // namespace tapkeys
