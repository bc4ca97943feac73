#include "settings/profile_ini.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "ini_contract.h"
#include "settings/keyboard_settings.h"
#include "settings/language_key_map.h"
#include "win32/ansi_text.h"

namespace tapkeys::testing {
namespace {

namespace fs = std::filesystem;

// A fresh folder below the temp folder, removed with everything in it.
struct TempFolder {
    inline static int created = 0;
    const fs::path path =
        fs::temp_directory_path() /
        (L"tapkeys-settings-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++created));
    TempFolder() { fs::create_directories(path); }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::wstring file(std::wstring_view relative) const { return (path / relative).wstring(); }
};

void writeFile(const std::wstring& path, std::string_view bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(fs::path(path), std::ios::binary) << bytes;
}

struct ProfileStore {
    TempFolder folder;
    ProfileIni profile;
    IniAccess& ini() { return profile; }
    std::wstring pathOf(std::wstring_view fileName) { return folder.file(fileName); }
    void putFile(const std::wstring& path, std::string_view text) { writeFile(path, text); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Profile, IniContract, ProfileStore);

constexpr ScreenGeometry kScreen1024x768{1024, 768, 632, 217};

class SettingsFileTest : public ::testing::Test {
protected:
    std::string bytes() const {
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
        std::ifstream file{fs::path(path), std::ios::binary};
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // The file's non-blank lines, each ended by "|": where the platform puts blank lines between
    // sections is its own affair.
    std::string lines() const {
        std::istringstream file(bytes());
        std::string lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) lines += line + "|";
        }
        return lines;
    }

    TempFolder folder;
    ProfileIni ini;
    const std::wstring path = settingsPathFor(folder.path.wstring(), L"tapkeys");
};

TEST_F(SettingsFileTest, FirstSaveWritesTheKnownFileAndLaterSavesReplaceValuesWhereTheyStandAndLoadBack) {
    const LoadedSettings loaded = loadSettings(ini, path, kScreen1024x768);
    saveSettings(ini, path, loaded.settings, {*loaded.windowX, *loaded.windowY});
    EXPECT_EQ(
        lines(),
        "[misc]|SAFEMODE=0|WINDOWX=196|WINDOWY=275|[fonts]|FONTFACE=Arial|FONTSTYLE=|FONTSIZE=14|"
        "FONTCOLOR=0|[keymapping]|KEYMAP=ini|USERKEYMAPNORMAL=|USERKEYMAPSHIFT=|[extras]|FOLLOWLAYOUT=0|");
    // clang-format off
    const KeyboardSettings changed{true, L"Times New Roman", L"bisu", 255, INT32_MIN, L"user",
                                   L"`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./",
                                   L"~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?", {.followLayout = true}};
    // clang-format on
    // Off-screen positions are written as they are; only load tests the range.
    saveSettings(ini, path, changed, {-40, 900});
    EXPECT_EQ(lines(),
              "[misc]|SAFEMODE=1|WINDOWX=-40|WINDOWY=900|[fonts]|FONTFACE=Times New Roman|FONTSTYLE=bisu|"
              "FONTSIZE=255|FONTCOLOR=-2147483648|[keymapping]|KEYMAP=user|USERKEYMAPNORMAL=" +
                  toAnsi(changed.keyMapUserLC) + "|USERKEYMAPSHIFT=" + toAnsi(changed.keyMapUserUC) +
                  "|[extras]|FOLLOWLAYOUT=1|");
    const LoadedSettings reloaded = loadSettings(ini, path, kScreen1024x768);
    EXPECT_EQ(reloaded.settings, changed);
    EXPECT_EQ(reloaded.windowX, std::nullopt);
    EXPECT_EQ(reloaded.windowY, std::nullopt);
}

// The file stays ANSI while the code page holds every value, and turns into UTF-16 with all it held
// (sections of others included) at the first save that needs more.
TEST_F(SettingsFileTest, FileStaysAnsiUntilAValueNeedsMoreThenTurnsUtf16KeepingEveryLine) {
    const std::string accented = "caf\xE9";  // some character of the code page beyond ASCII
    writeFile(path, "[host]\r\nNOTE=" + accented + "\r\n[keymapping]\r\nKEYMAP=user\r\n");
    KeyboardSettings settings = loadSettings(ini, path, kScreen1024x768).settings;
    settings.keyMapUserLC = fromAnsi(accented);
    saveSettings(ini, path, settings, {1, 2});
    EXPECT_FALSE(bytes().starts_with("\xFF\xFE"));
    EXPECT_NE(lines().find("USERKEYMAPNORMAL=" + accented + "|"), std::string::npos);
    settings.keyMapUserUC = L" \u0151\u2713ab";
    saveSettings(ini, path, settings, {1, 2});
    EXPECT_TRUE(bytes().starts_with("\xFF\xFE"));
    EXPECT_EQ(loadSettings(ini, path, kScreen1024x768).settings, settings);
    EXPECT_EQ(ini.readIni(L"host", L"NOTE", L"", path), fromAnsi(accented));
    // A file saved as UTF-8 with its mark keeps its characters too.
    const std::wstring utf8 = folder.file(L"utf8.ini");
    writeFile(utf8, "\xEF\xBB\xBF[host]\r\nNOTE=\xC5\x91\r\n");
    ini.writeIni(L"misc", L"K", L"\u2713", utf8);
    EXPECT_EQ(ini.readIni(L"host", L"NOTE", L"", utf8), L"\u0151");
}

TEST_F(SettingsFileTest, KeySetsComeFromTheLanguageFileTheHostNamesAndOnlyFromTheLangFolder) {
    writeFile(folder.file(L"dax.ini"), "[general]\r\nUSEDLANGUAGE=de\r\n");
    writeFile(folder.file(L"lang\\en.ini"), "[osk]\r\nKEYMAP_NORMAL=qwerty\r\nKEYMAP_SHIFT=QWERTY\r\n");
    writeFile(folder.file(L"lang\\de.ini"), "[osk]\r\nKEYMAP_NORMAL=qwertz \r\nKEYMAP_SHIFT=\"QWERTZ \"\r\n");
    // A trailing blank survives only inside quotation marks.
    EXPECT_EQ(loadLanguageKeyMap(ini, folder.path.wstring()), (KeySets{L"qwertz", L"QWERTZ "}));

    writeFile(folder.file(L"secret.ini"), "[osk]\r\nKEYMAP_NORMAL=leak\r\nKEYMAP_SHIFT=LEAK\r\n");
    for (const char* code : {"..\\secret", "../secret"}) {
        writeFile(folder.file(L"dax.ini"), "[general]\r\nUSEDLANGUAGE=" + std::string(code) + "\r\n");
        EXPECT_EQ(loadLanguageKeyMap(ini, folder.path.wstring()), (KeySets{L"default", L"default"})) << code;
    }
}

}  // namespace
}  // namespace tapkeys::testing
