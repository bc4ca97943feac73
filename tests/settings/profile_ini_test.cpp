#include "settings/profile_ini.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ini_contract.h"
#include "settings/keyboard_settings.h"
#include "win32/ansi_text.h"

namespace tapkeys::testing {
namespace {

namespace fs = std::filesystem;

// Files in a fresh folder below the temp folder, removed with everything in it.
struct ProfileStore {
    inline static int created = 0;
    const fs::path folder =
        fs::temp_directory_path() /
        (L"tapkeys-settings-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++created));
    ProfileIni profile;
    ProfileStore() { fs::create_directories(folder); }
    ~ProfileStore() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    IniAccess& ini() { return profile; }
    std::wstring pathOf(std::wstring_view fileName) { return (folder / fileName).wstring(); }
    void putFile(const std::wstring& path, std::string_view bytes) {
        std::ofstream(fs::path(path), std::ios::binary) << bytes;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Profile, IniContract, ProfileStore);

std::string bytesOf(const std::wstring& path) {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
    std::ifstream file{fs::path(path), std::ios::binary};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Saved and loaded through the real functions (the order of the keys is an end-to-end case), beside a
// host's section; off-screen positions are written as they are (only load tests the range). The file stays
// ANSI while the code page holds every value, and turns into UTF-16 with all it held at the first save that
// needs more. Files saved by others as UTF-16 or UTF-8 with a byte order mark give their characters.
TEST(SettingsFile, StaysAnsiWhileItCanKeepsTheHostsLinesAndLoadsBackWhatItSaved) {
    ProfileStore store;
    ProfileIni& ini = store.profile;
    const std::wstring path = store.pathOf(L"tapkeys.ini"), utf8 = store.pathOf(L"utf8.ini"),
                       utf16 = store.pathOf(L"utf16.ini");
    const std::string accented = "caf\xE9";  // some character of the code page beyond ASCII
    store.putFile(path, "[host]\r\nNOTE=" + accented + "\r\n");
    // clang-format off
    KeyboardSettings settings{true, L"Times New Roman", L"bisu", 255, INT32_MIN, L"user", fromAnsi(accented), L"X",
                              {false, 2000, 30, 5000, true}};
    // clang-format on
    saveSettings(ini, path, settings, {-40, 900});
    EXPECT_FALSE(bytesOf(path).starts_with("\xFF\xFE"));
    EXPECT_EQ(ini.readIni(L"misc", L"WINDOWX", L"", path) + ini.readIni(L"misc", L"WINDOWY", L"", path),
              L"-40900");
    settings.keyMapUserUC = L" \u0151\u2713ab";
    saveSettings(ini, path, settings, {1, 2});
    EXPECT_TRUE(bytesOf(path).starts_with("\xFF\xFE"));
    EXPECT_EQ(loadSettings(ini, path, {1024, 768, 632, 217}).settings, settings);
    EXPECT_EQ(ini.readIni(L"host", L"NOTE", L"", path), fromAnsi(accented));
    store.putFile(utf8, "\xEF\xBB\xBF[host]\r\nNOTE=\xC5\x91\r\n");
    ini.writeIni(L"misc", L"K", L"\u2713", utf8);
    EXPECT_EQ(ini.readIni(L"host", L"NOTE", L"", utf8), L"\u0151");
    const std::u16string wide = u"\uFEFF[osk]\r\nKEYMAP_NORMAL=\u00E4\u0151\r\n";
    store.putFile(utf16, std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
    EXPECT_EQ(ini.readIni(L"osk", L"KEYMAP_NORMAL", L"", utf16), L"\u00E4\u0151");
}

}  // namespace
}  // namespace tapkeys::testing
