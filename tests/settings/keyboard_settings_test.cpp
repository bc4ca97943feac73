#include "settings/keyboard_settings.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "ini_contract.h"

namespace tapkeys::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, IniContract, FakeStore);

namespace {

constexpr ScreenGeometry kScreen1024x768{1024, 768, 632, 217};
const std::wstring kPath = settingsPathFor(L"C:\\Tools\\tapkeys", L"osk.v2");

TEST(KeyboardSettings, WithoutAFileEveryDefaultHoldsAndTheWindowIsCentredIfItFits) {
    FakeIni ini;
    EXPECT_EQ(kPath, L"C:\\Tools\\tapkeys\\osk.v2.ini");
    const LoadedSettings loaded = loadSettings(ini, kPath, kScreen1024x768);
    KeyboardSettings defaults;
    defaults.fontFace = L"Arial";
    defaults.fontSze = 14;
    defaults.keyMap = L"ini";
    EXPECT_EQ(loaded.settings, defaults);
    EXPECT_EQ(loaded.windowX, 196);
    EXPECT_EQ(loaded.windowY, 275);
    // The centred default truncates, and is range-tested like a stored value: a window wider than the
    // screen keeps its layout position on that axis.
    EXPECT_EQ(loadSettings(ini, kPath, {1025, 769, 632, 217}).windowY, 276);
    const LoadedSettings narrow = loadSettings(ini, kPath, {600, 400, 632, 217});
    EXPECT_EQ(narrow.windowX, std::nullopt);
    EXPECT_EQ(narrow.windowY, 91);
}

// Safe mode is on exactly when the number read is one; the font size is kept between 8 and 255 before
// rounding, else 14; a colour outside 32 bits loads as black; a stored edge is taken only within the
// screen less ten pixels. Halves round to even.
TEST(KeyboardSettings, NumbersAreReadRoundedAndRangeTested) {
    using Reading = std::pair<const wchar_t*, std::optional<long long>>;
    constexpr std::nullopt_t none = std::nullopt;
    // clang-format off
    const Reading safeMode[] = {{L"1", 1}, {L"1.0", 1}, {L" 1 ", 1}, {L"1e0", 1}, {L"-1", 0}, {L"2", 0},
                                {L"yes", 0}, {L"0.999", 0}, {L"", 0}};
    const Reading fontSize[] = {{L"8", 8}, {L"255", 255}, {L"7.9", 14}, {L"256", 14}, {L"0", 14}, {L"", 14},
                                {L"12.5", 12}, {L"13.5", 14}, {L"20pt", 20}, {L"255.4", 14}, {L"-20", 14},
                                {L"1e300", 14}, {L"abc", 14}, {L"8.4", 8}, {L"&H10", 16}, {L"70000", 14}};
    const Reading fontColor[] = {{L"16711680", 16711680}, {L"&HFF0000", 16711680}, {L"4294967296", 0},
                                 {L"-2147483649", 0}, {L"1e300", 0}, {L"-1", -1}, {L"2147483647", INT32_MAX},
                                 {L"-2147483648", INT32_MIN}, {L"2147483647.5", 0}, {L"12.5", 12}, {L"junk", 0}};
    const Reading windowX[] = {{L"0", 0}, {L"1013", 1013}, {L"1014", none}, {L"-5", none}, {L"100.7", 100},
                               {L"1013.9", 1013}, {L"", 0}, {L"abc", 0}, {L"1e300", none}, {L"-1e300", none},
                               {L"-0.5", none}};
    const Reading windowY[] = {{L"757", 757}, {L"758", none}};
    // clang-format on
    const auto expectReadings = [](const wchar_t* section, const wchar_t* key,
                                   std::span<const Reading> readings,
                                   std::optional<long long> (*field)(const LoadedSettings&)) {
        for (const auto& [raw, expected] : readings) {
            FakeIni ini;
            ini.putValue(kPath, section, key, raw);
            EXPECT_EQ(field(loadSettings(ini, kPath, kScreen1024x768)), expected) << key << L"=" << raw;
        }
    };
    expectReadings(L"misc", L"SAFEMODE", safeMode, [](const LoadedSettings& l) -> std::optional<long long> {
        return l.settings.useSafeMode;
    });
    expectReadings(L"fonts", L"FONTSIZE", fontSize,
                   [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.fontSze; });
    expectReadings(L"fonts", L"FONTCOLOR", fontColor,
                   [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.fontColor; });
    expectReadings(L"misc", L"WINDOWX", windowX,
                   [](const LoadedSettings& l) -> std::optional<long long> { return l.windowX; });
    expectReadings(L"misc", L"WINDOWY", windowY,
                   [](const LoadedSettings& l) -> std::optional<long long> { return l.windowY; });
}

TEST(KeyboardSettings, TextsAreTakenAsReadAndBadValuesInEveryKeyLoadInRange) {
    FakeIni ini;
    ini.putFile(kPath, L"[fonts]\nFONTFACE=\nFONTSTYLE=bisu\n[keymapping]\nKEYMAP=\nUSERKEYMAPSHIFT=ABC\n");
    KeyboardSettings asRead;
    asRead.fontStyle = L"bisu";
    asRead.fontSze = 14;
    asRead.keyMapUserUC = L"ABC";
    EXPECT_EQ(loadSettings(ini, kPath, kScreen1024x768).settings, asRead);

    const std::wstring nines(300, L'9');
    // clang-format off
    const std::pair<const wchar_t*, const wchar_t*> keys[] = {
        {L"misc", L"SAFEMODE"}, {L"misc", L"WINDOWX"}, {L"misc", L"WINDOWY"}, {L"fonts", L"FONTFACE"},
        {L"fonts", L"FONTSTYLE"}, {L"fonts", L"FONTSIZE"}, {L"fonts", L"FONTCOLOR"}, {L"keymapping", L"KEYMAP"},
        {L"keymapping", L"USERKEYMAPNORMAL"}, {L"keymapping", L"USERKEYMAPSHIFT"}};
    const std::wstring badValues[] = {std::wstring(300, L'x'), nines, L"-" + nines, L"&H" + std::wstring(40, L'F'),
        L"\u00C4\u20AC\u6F22", L"-99999999999999999999", L"1e309", L"-1e309", L"\x01\x7F", L"\""};
    // clang-format on
    for (const std::wstring& bad : badValues) {
        for (const auto& [section, key] : keys) ini.putValue(kPath, section, key, bad);
        const LoadedSettings loaded = loadSettings(ini, kPath, kScreen1024x768);
        SCOPED_TRACE(::testing::PrintToString(bad));
        EXPECT_GE(loaded.settings.fontSze, 8);
        EXPECT_LE(loaded.settings.fontSze, 255);
        EXPECT_TRUE(!loaded.windowX || (*loaded.windowX >= 0 && *loaded.windowX < 1014));
        EXPECT_TRUE(!loaded.windowY || (*loaded.windowY >= 0 && *loaded.windowY < 758));
        EXPECT_LE(loaded.settings.keyMapUserLC.size(), 254u);
    }
}

// With more than one monitor a stored position is kept where the title band lies wholly in a work area,
// with the window scaled to that monitor's density; else, as with one monitor, each axis on its own.
// After a display change a keyboard left on no monitor moves wholly onto the nearest one.
TEST(KeyboardSettings, WindowPositionOnOneOrMoreMonitors) {
    constexpr MonitorArea primary{{0, 0, 1920, 1040}, 96}, left{{-1280, 0, 0, 1024}, 96},
        above{{0, -1080, 1920, 0}, 96}, right144{{1920, 0, 3840, 1080}, 144};
    using Monitors = std::vector<MonitorArea>;
    using Edges = std::pair<std::optional<int>, std::optional<int>>;
    constexpr std::nullopt_t none = std::nullopt;
    // clang-format off
    const std::tuple<const wchar_t*, const wchar_t*, Monitors, Edges> stored[] = {
        {L"100", L"100", {primary}, {100, 100}}, {L"1900", L"1060", {primary}, {1900, 1060}},
        {L"-600", L"50", {primary}, {none, 50}}, {L"-1000", L"200", {primary, left}, {-1000, 200}},
        {L"-100", L"200", {primary, left}, {none, 200}}, {L"500", L"-900", {primary, above}, {500, -900}},
        {L"500", L"-900", {primary, left}, {500, none}}, {L"2500", L"100", {primary, right144}, {2500, 100}},
        {L"3000", L"100", {primary, right144}, {none, 100}}, {L"-1000", L"200", {primary, right144}, {none, 200}},
        {L"1000.5", L"nan", {primary, left}, {1000, 0}}};
    const std::tuple<ScreenRect, Monitors, std::optional<WindowPosition>> changed[] = {
        {{100, 100, 732, 317}, {primary, left}, none}, {{2500, 100, 3448, 425}, {primary, right144}, none},
        {{-1000, 200, -368, 417}, {primary, right144}, WindowPosition{0, 200}},
        {{4000, 500, 4632, 717}, {primary, left}, WindowPosition{1288, 500}},
        {{100, 1030, 732, 1247}, {primary}, WindowPosition{100, 823}}, {{0, 0, 632, 217}, {}, none}};
    // clang-format on
    for (const auto& [x, y, monitors, expected] : stored) {
        FakeIni ini;
        ini.putValue(kPath, L"misc", L"WINDOWX", x);
        ini.putValue(kPath, L"misc", L"WINDOWY", y);
        const LoadedSettings loaded = loadSettings(ini, kPath, {1920, 1080, 632, 217, 48, 96, monitors});
        EXPECT_EQ(Edges(loaded.windowX, loaded.windowY), expected)
            << x << L"," << y << L" " << monitors.size();
    }
    for (const auto& [window, monitors, expected] : changed)
        EXPECT_EQ(placementAfterDisplayChange(window, 48, monitors), expected)
            << window.left << "," << window.top;
}

}  // namespace
}  // namespace tapkeys::testing
