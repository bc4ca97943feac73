#include "settings/profile_ini.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ini_contract.h"
#include "settings/keyboard_settings.h"
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
};

struct ProfileStore {
    TempFolder folder;
    ProfileIni profile;
    IniAccess& ini() { return profile; }
    std::wstring pathOf(std::wstring_view fileName) { return (folder.path / fileName).wstring(); }
    void putFile(const std::wstring& path, std::string_view text) {
        std::ofstream(fs::path(path), std::ios::binary) << text;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Profile, IniContract, ProfileStore);

// The file's non-blank lines, each ended by "|": where the platform puts blank lines between sections
// is its own affair.
std::string linesOf(const std::wstring& path) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, toAnsi(path).c_str());  // flush the cache
    std::ifstream file{fs::path(path), std::ios::binary};
    std::string lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines += line + "|";
    }
    return lines;
}

// The first save writes the known file; later saves replace values where they stand; off-screen
// positions are written as they are (only load tests the range); characters of the ANSI code page
// survive the file.
TEST(SettingsFile, SavesTheKnownFileInItsOrderAndLoadsBackWhatItSaved) {
    const TempFolder folder;
    ProfileIni ini;
    const std::wstring path = (folder.path / L"tapkeys.ini").wstring();
    constexpr ScreenGeometry kScreen{1024, 768, 632, 217};
    const LoadedSettings loaded = loadSettings(ini, path, kScreen);
    saveSettings(ini, path, loaded.settings, {*loaded.windowX, *loaded.windowY});
    EXPECT_EQ(linesOf(path),
              "[misc]|SAFEMODE=0|WINDOWX=196|WINDOWY=275|[fonts]|FONTFACE=Arial|FONTSTYLE=|FONTSIZE=14|"
              "FONTCOLOR=0|[keymapping]|KEYMAP=ini|USERKEYMAPNORMAL=|USERKEYMAPSHIFT=|");
    const std::wstring umlauts = L"\u00E4\u00F6\u00FC\u00DF\u00C4";
    const bool ansiHasUmlauts = fromAnsi(toAnsi(umlauts)) == umlauts;
    const KeyboardSettings changed{true,
                                   L"Times New Roman",
                                   L"bisu",
                                   255,
                                   INT32_MIN,
                                   L"user",
                                   L"`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./",
                                   ansiHasUmlauts ? umlauts : L"~!@#$%^&*()_+QWERTYUIOP{}|\":<>?",
                                   {}};
    saveSettings(ini, path, changed, {-40, 900});
    EXPECT_EQ(linesOf(path),
              "[misc]|SAFEMODE=1|WINDOWX=-40|WINDOWY=900|[fonts]|FONTFACE=Times New Roman|"
              "FONTSTYLE=bisu|FONTSIZE=255|FONTCOLOR=-2147483648|[keymapping]|KEYMAP=user|"
              "USERKEYMAPNORMAL=" +
                  toAnsi(changed.keyMapUserLC) + "|USERKEYMAPSHIFT=" + toAnsi(changed.keyMapUserUC) + "|");
    const LoadedSettings reloaded = loadSettings(ini, path, kScreen);
    EXPECT_EQ(reloaded.settings, changed);
    EXPECT_EQ(reloaded.windowX, std::nullopt);
    EXPECT_EQ(reloaded.windowY, std::nullopt);
}

}  // namespace
}  // namespace tapkeys::testing
