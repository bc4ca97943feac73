#include "settings/profile_ini.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ini_contract.h"
#include "keyboard/runtime/text.h"
#include "settings/keyboard_settings.h"
#include "settings/language_key_map.h"

namespace tapkeys::testing {
namespace {

namespace fs = std::filesystem;

// A fresh folder below the temp folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static int created = 0;
        path_ = fs::temp_directory_path() / (L"tapkeys-settings-" + std::to_wstring(::GetCurrentProcessId()) +
                                             L"-" + std::to_wstring(++created));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::wstring path() const { return path_.wstring(); }
    std::wstring file(std::wstring_view relative) const { return (path_ / relative).wstring(); }

private:
    fs::path path_;
};

void writeFile(const std::wstring& path, std::string_view bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(fs::path(path), std::ios::binary) << bytes;
}

// The file's non-blank lines: where the platform puts blank lines between sections is its own affair.
std::vector<std::string> linesOf(const std::wstring& path) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, toAnsi(path).c_str());  // flush the profile cache
    std::ifstream file{fs::path(path), std::ios::binary};
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
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
    TempFolder folder;
    ProfileIni ini;
    const std::wstring path = settingsPathFor(folder.path(), L"tapkeys");
};

TEST_F(SettingsFileTest, FirstSaveAfterAStartWithoutAFileWritesTheKnownFile) {
    const LoadedSettings loaded = loadSettings(ini, path, kScreen1024x768);
    ASSERT_TRUE(loaded.windowX && loaded.windowY);
    saveSettings(ini, path, loaded.settings, {*loaded.windowX, *loaded.windowY});
    const std::vector<std::string> expected = {
        "[misc]",         "SAFEMODE=0",        "WINDOWX=196",      "WINDOWY=275", "[fonts]",
        "FONTFACE=Arial", "FONTSTYLE=",        "FONTSIZE=14",      "FONTCOLOR=0", "[keymapping]",
        "KEYMAP=ini",     "USERKEYMAPNORMAL=", "USERKEYMAPSHIFT=",
    };
    EXPECT_EQ(linesOf(path), expected);
}

TEST_F(SettingsFileTest, LaterSavesReplaceValuesWhereTheyStand) {
    saveSettings(ini, path, loadSettings(ini, path, kScreen1024x768).settings, {196, 275});
    const KeyboardSettings changed{.useSafeMode = true,
                                   .fontFace = L"Courier New",
                                   .fontStyle = L"bu",
                                   .fontSze = 20,
                                   .fontColor = 16711680,
                                   .keyMap = L"user",
                                   .keyMapUserLC = L"abc",
                                   .keyMapUserUC = L"ABC"};
    saveSettings(ini, path, changed, {-40, 900});
    const std::vector<std::string> expected = {
        "[misc]",
        "SAFEMODE=1",
        "WINDOWX=-40",
        "WINDOWY=900",
        "[fonts]",
        "FONTFACE=Courier New",
        "FONTSTYLE=bu",
        "FONTSIZE=20",
        "FONTCOLOR=16711680",
        "[keymapping]",
        "KEYMAP=user",
        "USERKEYMAPNORMAL=abc",
        "USERKEYMAPSHIFT=ABC",
    };
    EXPECT_EQ(linesOf(path), expected);
}

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSameMembers) {
    const KeyboardSettings settings{.useSafeMode = true,
                                    .fontFace = L"Times New Roman",
                                    .fontStyle = L"bisu",
                                    .fontSze = 255,
                                    .fontColor = -2147483647 - 1,
                                    .keyMap = L"user",
                                    .keyMapUserLC = L"`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./",
                                    .keyMapUserUC = L"~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?"};
    saveSettings(ini, path, settings, {1013, 757});
    const LoadedSettings loaded = loadSettings(ini, path, kScreen1024x768);
    EXPECT_EQ(loaded.settings, settings);
    EXPECT_EQ(loaded.windowX, 1013);
    EXPECT_EQ(loaded.windowY, 757);
}

TEST_F(SettingsFileTest, CharactersOfTheAnsiCodePageSurviveTheFile) {
    const std::wstring umlauts = L"\u00E4\u00F6\u00FC\u00DF\u00C4\u00D6\u00DC";
    if (fromAnsi(toAnsi(umlauts)) != umlauts) GTEST_SKIP() << "the ANSI code page has no umlauts";
    KeyboardSettings settings;
    settings.keyMapUserLC = umlauts;
    saveSettings(ini, path, settings, {0, 0});
    EXPECT_EQ(loadSettings(ini, path, kScreen1024x768).settings.keyMapUserLC, umlauts);
}

TEST_F(SettingsFileTest, ValuesLongerThan254CharactersComeBackCut) {
    KeyboardSettings settings;
    settings.keyMapUserLC = std::wstring(254, L'a') + L"bcdef";
    saveSettings(ini, path, settings, {0, 0});
    EXPECT_EQ(loadSettings(ini, path, kScreen1024x768).settings.keyMapUserLC, std::wstring(254, L'a'));
}

// The profile functions drop blanks around a value, so a key set that begins with a blank comes back
// one character shorter and every later character moves to the key before.
TEST_F(SettingsFileTest, BlanksAtTheEndsOfAUserKeySetAreLost) {
    KeyboardSettings settings;
    settings.keyMapUserLC = L" abc ";
    settings.keyMapUserUC = L"\tA B";
    saveSettings(ini, path, settings, {0, 0});
    const KeyboardSettings loaded = loadSettings(ini, path, kScreen1024x768).settings;
    EXPECT_EQ(loaded.keyMapUserLC, L"abc");
    EXPECT_EQ(loaded.keyMapUserUC, L"A B");
}

TEST_F(SettingsFileTest, KeySetsComeFromTheLanguageFileTheHostNames) {
    writeFile(folder.file(L"dax.ini"), "[general]\r\nUSEDLANGUAGE=de\r\n");
    writeFile(folder.file(L"lang\\en.ini"), "[osk]\r\nKEYMAP_NORMAL=qwerty\r\nKEYMAP_SHIFT=QWERTY\r\n");
    writeFile(folder.file(L"lang\\de.ini"), "[osk]\r\nKEYMAP_NORMAL=qwertz \r\nKEYMAP_SHIFT=\"QWERTZ \"\r\n");
    // A trailing blank survives only inside quotation marks.
    EXPECT_EQ(loadLanguageKeyMap(ini, folder.path()), (KeySets{L"qwertz", L"QWERTZ "}));
}

TEST_F(SettingsFileTest, LanguageCodesOutsideTheLangFolderReadNoFile) {
    writeFile(folder.file(L"secret.ini"), "[osk]\r\nKEYMAP_NORMAL=leak\r\nKEYMAP_SHIFT=LEAK\r\n");
    writeFile(folder.file(L"lang\\placeholder.txt"), "");
    for (const char* code : {"..\\secret", "../secret"}) {
        writeFile(folder.file(L"dax.ini"), "[general]\r\nUSEDLANGUAGE=" + std::string(code) + "\r\n");
        EXPECT_EQ(loadLanguageKeyMap(ini, folder.path()), (KeySets{L"default", L"default"})) << code;
    }
}

}  // namespace
}  // namespace tapkeys::testing
