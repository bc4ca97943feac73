#include "settings/keyboard_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_ini.h"

namespace tapkeys {
namespace {

using testing::FakeIni;

constexpr ScreenGeometry kScreen1024x768{1024, 768, 632, 217};

class KeyboardSettingsTest : public ::testing::Test {
protected:
    LoadedSettings loadWith(std::wstring_view section, std::wstring_view key, std::wstring_view rawValue,
                            const ScreenGeometry& screen = kScreen1024x768) {
        ini.putValue(path, section, key, rawValue);
        return loadSettings(ini, path, screen);
    }

    FakeIni ini;
    const std::wstring path = settingsPathFor(L"C:\\Tools\\tapkeys", L"tapkeys");
};

TEST_F(KeyboardSettingsTest, SettingsFileLiesBesideTheExecutableNamedAfterIt) {
    EXPECT_EQ(path, L"C:\\Tools\\tapkeys\\tapkeys.ini");
    EXPECT_EQ(settingsPathFor(L"D:\\x", L"osk.v2"), L"D:\\x\\osk.v2.ini");
}

TEST_F(KeyboardSettingsTest, WithoutAFileEveryDefaultHoldsAndTheWindowIsCentred) {
    const LoadedSettings loaded = loadSettings(ini, path, kScreen1024x768);
    const KeyboardSettings expected{.useSafeMode = false,
                                    .fontFace = L"Arial",
                                    .fontStyle = L"",
                                    .fontSze = 14,
                                    .fontColor = 0,
                                    .keyMap = L"ini",
                                    .keyMapUserLC = L"",
                                    .keyMapUserUC = L""};
    EXPECT_EQ(loaded.settings, expected);
    EXPECT_EQ(loaded.windowX, 196);
    EXPECT_EQ(loaded.windowY, 275);
}

TEST_F(KeyboardSettingsTest, CentredDefaultTruncatesAndIsRangeTestedLikeAStoredValue) {
    const LoadedSettings odd = loadSettings(ini, path, {1025, 769, 632, 217});
    EXPECT_EQ(odd.windowX, 196);
    EXPECT_EQ(odd.windowY, 276);
    // A window wider than the screen keeps its layout position on that axis.
    const LoadedSettings narrow = loadSettings(ini, path, {600, 400, 632, 217});
    EXPECT_EQ(narrow.windowX, std::nullopt);
    EXPECT_EQ(narrow.windowY, 91);
}

TEST_F(KeyboardSettingsTest, SafeModeIsOnExactlyWhenTheNumberReadIsOne) {
    const std::pair<const wchar_t*, bool> cases[] = {{L"1", true},    {L"1.0", true},    {L" 1 ", true},
                                                     {L"1e0", true},  {L"-1", false},    {L"2", false},
                                                     {L"yes", false}, {L"0.999", false}, {L"", false}};
    for (const auto& [raw, expected] : cases) {
        EXPECT_EQ(loadWith(L"misc", L"SAFEMODE", raw).settings.useSafeMode, expected) << "SAFEMODE=" << raw;
    }
}

TEST_F(KeyboardSettingsTest, FontSizeBetween8And255IsRoundedHalfToEvenElse14) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"8", 8},      {L"255", 255}, {L"7.9", 14},  {L"256", 14},   {L"0", 14},     {L"", 14},
        {L"12.5", 12},  {L"13.5", 14}, {L"20pt", 20}, {L"255.4", 14}, {L"255.5", 14}, {L"-20", 14},
        {L"1e300", 14}, {L"abc", 14},  {L"8.4", 8},   {L"&H10", 16},  {L"70000", 14},
    };
    for (const auto& [raw, expected] : cases) {
        EXPECT_EQ(loadWith(L"fonts", L"FONTSIZE", raw).settings.fontSze, expected) << "FONTSIZE=" << raw;
    }
}

TEST_F(KeyboardSettingsTest, FontColourIsRoundedAndOutside32BitsLoadsAsBlack) {
    const std::pair<const wchar_t*, std::int32_t> cases[] = {
        {L"255", 255},
        {L"16711680", 16711680},
        {L"4294967296", 0},
        {L"-2147483649", 0},
        {L"1e300", 0},
        {L"-1", -1},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483647.5", 0},
        {L"12.5", 12},
        {L"", 0},
        {L"junk", 0},
        {L"&HFF0000", 16711680},
    };
    for (const auto& [raw, expected] : cases) {
        EXPECT_EQ(loadWith(L"fonts", L"FONTCOLOR", raw).settings.fontColor, expected) << "FONTCOLOR=" << raw;
    }
}

TEST_F(KeyboardSettingsTest, StoredEdgeIsTakenOnlyWithinTheScreenLessTenPixels) {
    const std::pair<const wchar_t*, std::optional<int>> cases[] = {
        {L"0", 0},
        {L"1013", 1013},
        {L"1014", std::nullopt},
        {L"-5", std::nullopt},
        {L"100.7", 100},
        {L"1013.9", 1013},
        {L"", 0},
        {L"abc", 0},
        {L"1e300", std::nullopt},
        {L"-1e300", std::nullopt},
        {L"-0.5", std::nullopt},
        {L"5000", std::nullopt},
    };
    for (const auto& [raw, expected] : cases) {
        EXPECT_EQ(loadWith(L"misc", L"WINDOWX", raw).windowX, expected) << "WINDOWX=" << raw;
    }
    EXPECT_EQ(loadWith(L"misc", L"WINDOWY", L"757").windowY, 757);
    EXPECT_EQ(loadWith(L"misc", L"WINDOWY", L"758").windowY, std::nullopt);
}

TEST_F(KeyboardSettingsTest, PresentButEmptyTextsAreTakenAsRead) {
    ini.putFile(path,
                L"[fonts]\nFONTFACE=\nFONTSTYLE=bisu\n[keymapping]\nKEYMAP=\n"
                L"USERKEYMAPNORMAL=abc\nUSERKEYMAPSHIFT=ABC\n");
    const KeyboardSettings settings = loadSettings(ini, path, kScreen1024x768).settings;
    EXPECT_EQ(settings.fontFace, L"");
    EXPECT_EQ(settings.fontStyle, L"bisu");
    EXPECT_EQ(settings.keyMap, L"");
    EXPECT_EQ(settings.keyMapUserLC, L"abc");
    EXPECT_EQ(settings.keyMapUserUC, L"ABC");
}

TEST_F(KeyboardSettingsTest, BadValuesInEveryKeyLoadInRange) {
    const std::vector<std::wstring> badValues = {
        L"",
        L"junk",
        std::wstring(300, L'x'),
        std::wstring(300, L'9'),
        L"-" + std::wstring(300, L'9'),
        L"\u00C4\u00D6\u00DC\u20AC\u6F22\u5B57",
        L"-99999999999999999999",
        L"1e309",
        L"-1e309",
        L"&H" + std::wstring(40, L'F'),
        L"\x01\x7F",
        L"\"",
    };
    const wchar_t* keys[][2] = {{L"misc", L"SAFEMODE"},
                                {L"misc", L"WINDOWX"},
                                {L"misc", L"WINDOWY"},
                                {L"fonts", L"FONTFACE"},
                                {L"fonts", L"FONTSTYLE"},
                                {L"fonts", L"FONTSIZE"},
                                {L"fonts", L"FONTCOLOR"},
                                {L"keymapping", L"KEYMAP"},
                                {L"keymapping", L"USERKEYMAPNORMAL"},
                                {L"keymapping", L"USERKEYMAPSHIFT"}};
    for (const std::wstring& bad : badValues) {
        FakeIni file;
        for (const auto& [section, key] : keys) file.putValue(path, section, key, bad);
        const LoadedSettings loaded = loadSettings(file, path, kScreen1024x768);
        SCOPED_TRACE(::testing::PrintToString(bad));
        EXPECT_GE(loaded.settings.fontSze, 8);
        EXPECT_LE(loaded.settings.fontSze, 255);
        EXPECT_TRUE(!loaded.windowX || (*loaded.windowX >= 0 && *loaded.windowX < 1014));
        EXPECT_TRUE(!loaded.windowY || (*loaded.windowY >= 0 && *loaded.windowY < 758));
        EXPECT_LE(loaded.settings.keyMapUserLC.size(), 254u);
    }
}

TEST_F(KeyboardSettingsTest, SaveWritesTheTenKeysInFileOrder) {
    const KeyboardSettings settings{.useSafeMode = true,
                                    .fontFace = L"Courier New",
                                    .fontStyle = L"bu",
                                    .fontSze = 20,
                                    .fontColor = -1,
                                    .keyMap = L"user",
                                    .keyMapUserLC = L"abc",
                                    .keyMapUserUC = L"ABC"};
    // Off-screen positions are written as they are; only load tests the range.
    saveSettings(ini, path, settings, {-300, 5000});
    const std::vector<FakeIni::Write> expected = {
        {L"misc", L"SAFEMODE", L"1", path},
        {L"misc", L"WINDOWX", L"-300", path},
        {L"misc", L"WINDOWY", L"5000", path},
        {L"fonts", L"FONTFACE", L"Courier New", path},
        {L"fonts", L"FONTSTYLE", L"bu", path},
        {L"fonts", L"FONTSIZE", L"20", path},
        {L"fonts", L"FONTCOLOR", L"-1", path},
        {L"keymapping", L"KEYMAP", L"user", path},
        {L"keymapping", L"USERKEYMAPNORMAL", L"abc", path},
        {L"keymapping", L"USERKEYMAPSHIFT", L"ABC", path},
    };
    EXPECT_EQ(ini.writes(), expected);
}

TEST_F(KeyboardSettingsTest, SavedSettingsLoadBackUnchanged) {
    const KeyboardSettings settings{.useSafeMode = false,
                                    .fontFace = L"Tahoma",
                                    .fontStyle = L"is",
                                    .fontSze = 255,
                                    .fontColor = -2147483647 - 1,
                                    .keyMap = L"INI",
                                    .keyMapUserLC = L"`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./",
                                    .keyMapUserUC = L"~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?"};
    saveSettings(ini, path, settings, {1013, 0});
    const LoadedSettings loaded = loadSettings(ini, path, kScreen1024x768);
    EXPECT_EQ(loaded.settings, settings);
    EXPECT_EQ(loaded.windowX, 1013);
    EXPECT_EQ(loaded.windowY, 0);

    KeyboardSettings safeMode;
    safeMode.useSafeMode = true;
    saveSettings(ini, path, safeMode, {0, 0});
    EXPECT_TRUE(loadSettings(ini, path, kScreen1024x768).settings.useSafeMode);
}

}  // namespace
}  // namespace tapkeys
