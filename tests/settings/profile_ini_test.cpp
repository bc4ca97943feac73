#include "settings/profile_ini.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
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

std::string bytesOf(const std::wstring& path) {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
    std::ifstream file{fs::path(path), std::ios::binary};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
// The file's non-blank lines, each ended by "|": where the platform puts blank lines between sections
// is its own affair.
std::string linesOf(const std::wstring& path) {
    std::istringstream file(bytesOf(path));
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
    EXPECT_EQ(
        linesOf(path),
        "[misc]|SAFEMODE=0|WINDOWX=196|WINDOWY=275|[fonts]|FONTFACE=Arial|FONTSTYLE=|FONTSIZE=14|"
        "FONTCOLOR=0|[keymapping]|KEYMAP=ini|USERKEYMAPNORMAL=|USERKEYMAPSHIFT=|[extras]|FOLLOWLAYOUT=0|");
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
                                   {.followLayout = true}};
    saveSettings(ini, path, changed, {-40, 900});
    EXPECT_EQ(linesOf(path),
              "[misc]|SAFEMODE=1|WINDOWX=-40|WINDOWY=900|[fonts]|FONTFACE=Times New Roman|"
              "FONTSTYLE=bisu|FONTSIZE=255|FONTCOLOR=-2147483648|[keymapping]|KEYMAP=user|"
              "USERKEYMAPNORMAL=" +
                  toAnsi(changed.keyMapUserLC) + "|USERKEYMAPSHIFT=" + toAnsi(changed.keyMapUserUC) +
                  "|[extras]|FOLLOWLAYOUT=1|");
    const LoadedSettings reloaded = loadSettings(ini, path, kScreen);
    EXPECT_EQ(reloaded.settings, changed);
    EXPECT_EQ(reloaded.windowX, std::nullopt);
    EXPECT_EQ(reloaded.windowY, std::nullopt);
}

// The file stays ANSI while the code page holds every value, and turns into UTF-16 with all it held
// (sections of others included) at the first save that needs more; a file saved as UTF-8 with its mark
// keeps its characters too.
TEST(SettingsFile, StaysAnsiUntilAValueNeedsMoreThenTurnsUtf16KeepingEveryLine) {
    const TempFolder folder;
    ProfileIni ini;
    const std::wstring path = (folder.path / L"tapkeys.ini").wstring(),
                       utf8 = (folder.path / L"utf8.ini").wstring();
    const std::string accented = "caf\xE9";  // some character of the code page beyond ASCII
    std::ofstream(fs::path(path), std::ios::binary)
        << "[host]\r\nNOTE=" + accented + "\r\n[keymapping]\r\nKEYMAP=user\r\n";
    KeyboardSettings settings = loadSettings(ini, path, {1024, 768, 632, 217}).settings;
    settings.keyMapUserLC = fromAnsi(accented);
    saveSettings(ini, path, settings, {1, 2});
    EXPECT_FALSE(bytesOf(path).starts_with("\xFF\xFE"));
    EXPECT_NE(linesOf(path).find("USERKEYMAPNORMAL=" + accented + "|"), std::string::npos);
    settings.keyMapUserUC = L" \u0151\u2713ab";
    saveSettings(ini, path, settings, {1, 2});
    EXPECT_TRUE(bytesOf(path).starts_with("\xFF\xFE"));
    EXPECT_EQ(loadSettings(ini, path, {1024, 768, 632, 217}).settings, settings);
    EXPECT_EQ(ini.readIni(L"host", L"NOTE", L"", path), fromAnsi(accented));
    std::ofstream(fs::path(utf8), std::ios::binary) << "\xEF\xBB\xBF[host]\r\nNOTE=\xC5\x91\r\n";
    ini.writeIni(L"misc", L"K", L"\u2713", utf8);
    EXPECT_EQ(ini.readIni(L"host", L"NOTE", L"", utf8), L"\u0151");
}

}  // namespace
}  // namespace tapkeys::testing
