// Host files in encodings the keyboard does not write, read through the real profile functions: a
// Unicode file with a byte order mark gives its characters; UTF-8 without one reads as the bytes of the
// ANSI code page (each key shows a byte, and every later key moves on), and with one the sets are still
// usable. Damaged and hostile files run through the fuzzers and the end-to-end fault cases.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/language_key_map.h"
#include "settings/profile_ini.h"
#include "win32/ansi_text.h"

namespace tapkeys {
namespace {

namespace fs = std::filesystem;

TEST(HostFiles, LanguageFilesInOtherEncodingsGiveUsableKeySets) {
    const fs::path folder =
        fs::temp_directory_path() / (L"tapkeys-faults-" + std::to_wstring(::GetCurrentProcessId()));
    fs::create_directories(folder / L"lang");
    std::ofstream(folder / L"dax.ini", std::ios::binary) << "[general]\r\nUSEDLANGUAGE=xx\r\n";
    const std::u16string unicode =
        u"\uFEFF[osk]\r\nKEYMAP_NORMAL=\u00E4\u00F6\u00FC\r\nKEYMAP_SHIFT=\u00C4\u00D6\u00DC\r\n";
    const bool ansiHasUmlauts = fromAnsi(toAnsi(L"\u00E4")) == L"\u00E4";
    const bool windows1252 = ::GetACP() == 1252;
    const std::tuple<std::string, bool, KeySets> files[] = {
        {std::string(reinterpret_cast<const char*>(unicode.data()), unicode.size() * 2),
         ansiHasUmlauts,
         {L"\u00E4\u00F6\u00FC", L"\u00C4\u00D6\u00DC"}},
        {"[osk]\r\nKEYMAP_NORMAL=\xC3\xA4x\r\nKEYMAP_SHIFT=\xE2\x82\xAC\r\n",
         windows1252,
         {L"\u00C3\u00A4x", L"\u00E2\u201A\u00AC"}},
        // Windows and Wine part ways here (Wine decodes it); either way the sets are usable.
        {"\xEF\xBB\xBF[osk]\r\nKEYMAP_NORMAL=\xC3\xA4x\r\nKEYMAP_SHIFT=\xE2\x82\xAC\r\n", false, {}}};
    ProfileIni ini;
    for (const auto& [bytes, exact, expected] : files) {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);  // a file rewritten is read afresh
        std::ofstream(folder / L"lang" / L"xx.ini", std::ios::binary) << bytes;
        const KeySets sets = loadLanguageKeyMap(ini, folder.wstring());
        EXPECT_TRUE(!exact || sets == expected) << bytes;
        EXPECT_TRUE(!sets.normal.empty() && !sets.shifted.empty() && sets.normal.size() <= 254) << bytes;
    }
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace tapkeys
