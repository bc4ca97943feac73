#include "settings/keyboard_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ini_contract.h"

namespace tapkeys::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, IniContract, FakeStore);

namespace {

constexpr ScreenGeometry kScreen1024x768{1024, 768, 632, 217};
const std::wstring kPath = L"C:\\Tools\\tapkeys.ini";

// The centred default truncates and is range-tested like a stored value: a window wider than the
// screen keeps its layout position on that axis.
TEST(KeyboardSettings, WithoutAFileEveryDefaultHoldsAndTheWindowIsCentredIfItFits) {
    FakeIni ini;
    const LoadedSettings loaded = loadSettings(ini, kPath, kScreen1024x768);
    EXPECT_EQ(loaded.settings, (KeyboardSettings{false, L"Arial", L"", 14, 0, L"ini", L"", L"", {}}));
    EXPECT_EQ(loaded.windowX, 196);
    EXPECT_EQ(loaded.windowY, 275);
    EXPECT_EQ(loadSettings(ini, kPath, {1025, 769, 632, 217}).windowY, 276);
    const LoadedSettings narrow = loadSettings(ini, kPath, {600, 400, 632, 217});
    EXPECT_EQ(narrow.windowX, std::nullopt);
    EXPECT_EQ(narrow.windowY, 91);
    // An empty value is a value, not a missing key.
    ini.putFile(kPath, L"[fonts]\nFONTFACE=\n[keymapping]\nKEYMAP=\n");
    KeyboardSettings empty;
    empty.fontSze = 14;
    EXPECT_EQ(loadSettings(ini, kPath, kScreen1024x768).settings, empty);
}

// Safe mode is on exactly when the number read is one; the font size is kept between 8 and 255 before
// rounding, else 14; a colour outside 32 bits loads as black; a stored edge is taken (truncated) only
// within the screen less ten pixels. Halves round to even. An extra out of its range, or without a
// digit, takes its default, never a neighbour.
TEST(KeyboardSettings, NumbersAreReadRoundedAndRangeTested) {
    const auto field = [](const LoadedSettings& l, std::wstring_view key) -> std::optional<long long> {
        const ExtrasSettings& extras = l.settings.extras;
        if (key == L"KEYFEEDBACK") return extras.keyFeedback;
        if (key == L"REPEATDELAY") return extras.repeatDelay;
        if (key == L"REPEATRATE") return extras.repeatRate;
        if (key == L"DWELLTIME") return extras.dwellTime;
        if (key == L"SAFEMODE") return l.settings.useSafeMode;
        if (key == L"FONTSIZE") return l.settings.fontSze;
        if (key == L"FONTCOLOR") return l.settings.fontColor;
        return key == L"WINDOWX" ? l.windowX : l.windowY;
    };
    const std::optional<long long> none;
    // clang-format off
    const std::tuple<std::wstring, const wchar_t*, std::optional<long long>> readings[] = {
        {L"SAFEMODE", L"1.0", 1}, {L"SAFEMODE", L"-1", 0}, {L"SAFEMODE", L"yes", 0}, {L"FONTSIZE", L"7.9", 14},
        {L"FONTSIZE", L"255.4", 14}, {L"FONTSIZE", L"8.4", 8}, {L"FONTSIZE", L"12.5", 12}, {L"FONTSIZE", L"13.5", 14},
        {L"FONTSIZE", L"20pt", 20}, {L"FONTSIZE", L"&H10", 16}, {L"FONTSIZE", L"", 14}, {L"FONTSIZE", L"70000", 14},
        {L"FONTCOLOR", L"&HFF0000", 0xFF0000}, {L"FONTCOLOR", L"-2147483648", INT32_MIN},
        {L"FONTCOLOR", L"4294967296", 0}, {L"FONTCOLOR", L"2147483647.5", 0}, {L"WINDOWX", L"1013.9", 1013},
        {L"WINDOWX", L"1014", none}, {L"WINDOWX", L"-0.5", none}, {L"WINDOWX", L"1e300", none},
        {L"WINDOWX", L"abc", 0}, {L"WINDOWY", L"757", 757}, {L"WINDOWY", L"758", none},
        {L"KEYFEEDBACK", L"0", 0}, {L"KEYFEEDBACK", L"", 1}, {L"KEYFEEDBACK", L"off", 1}, {L"KEYFEEDBACK", L"2", 1},
        {L"REPEATDELAY", L"250", 250}, {L"REPEATDELAY", L"249", 0}, {L"REPEATDELAY", L"2001", 0},
        {L"REPEATDELAY", L"500ms", 500}, {L"REPEATDELAY", L"1e300", 0}, {L"REPEATRATE", L"0", 10},
        {L"REPEATRATE", L"31", 10}, {L"REPEATRATE", L"12.5", 12}, {L"DWELLTIME", L"299", 0},
        {L"DWELLTIME", L"5000", 5000}};
    // clang-format on
    for (const auto& [key, raw, expected] : readings) {
        FakeIni ini;
        const wchar_t* section = key.starts_with(L"FONT")                           ? L"[fonts]\n"
                                 : key.starts_with(L"WINDOW") || key == L"SAFEMODE" ? L"[misc]\n"
                                                                                    : L"[extras]\n";
        ini.putFile(kPath, section + key + L"=" + raw);
        EXPECT_EQ(field(loadSettings(ini, kPath, kScreen1024x768), key), expected) << key << L"=" << raw;
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
        ini.putFile(kPath, std::wstring(L"[misc]\nWINDOWX=") + x + L"\nWINDOWY=" + y);
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
