#include "settings/keyboard_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ini_contract.h"

namespace tapkeys::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, IniContract, FakeStore);

namespace {

const std::wstring kPath = L"C:\\Tools\\tapkeys.ini";

// Safe mode is on exactly when the number read is one; the font size is kept between 8 and 255 before
// rounding, else 14; a colour that does not round into 32 bits loads as black; a stored edge is taken
// (truncated) only within the screen less ten pixels (else -1 here). Halves round to even. An extra out of
// its range, or without a digit, takes its default, never a neighbour. Each is seen as the next save writes
// it.
TEST(KeyboardSettings, NumbersAreReadRoundedAndRangeTested) {
    // clang-format off
    const std::tuple<std::wstring, const wchar_t*, const wchar_t*> readings[] = {
        {L"WINDOWX", nullptr, L"196"}, {L"WINDOWY", nullptr, L"275"}, {L"FONTFACE", L"", L""}, {L"KEYMAP", L"", L""},
        {L"SAFEMODE", L"1.0", L"1"}, {L"SAFEMODE", L"-1", L"0"}, {L"SAFEMODE", L"yes", L"0"}, {L"FONTSIZE", L"7.9", L"14"},
        {L"FONTSIZE", L"255.4", L"14"}, {L"FONTSIZE", L"8.4", L"8"}, {L"FONTSIZE", L"12.5", L"12"}, {L"FONTSIZE", L"13.5", L"14"},
        {L"FONTSIZE", L"20pt", L"20"}, {L"FONTSIZE", L"&H10", L"16"}, {L"FONTSIZE", L"", L"14"}, {L"FONTSIZE", L"70000", L"14"},
        {L"FONTCOLOR", L"&HFF0000", L"16711680"}, {L"FONTCOLOR", L"-2147483648", L"-2147483648"},
        {L"FONTCOLOR", L"4294967296", L"0"}, {L"FONTCOLOR", L"2147483647.5", L"0"}, {L"FONTCOLOR", L"-2.5", L"-2"},
        {L"FONTCOLOR", L"-3.5", L"-4"}, {L"FONTCOLOR", L"2147483646.5", L"2147483646"}, {L"FONTCOLOR", L"-2147483648.5", L"-2147483648"},
        {L"FONTCOLOR", L"-2147483649", L"0"}, {L"FONTCOLOR", L"1e400", L"0"}, {L"WINDOWX", L"1013.9", L"1013"},
        {L"WINDOWX", L"1014", L"-1"}, {L"WINDOWX", L"-0.5", L"-1"}, {L"WINDOWX", L"1e300", L"-1"},
        {L"WINDOWX", L"abc", L"0"}, {L"WINDOWY", L"757", L"757"}, {L"WINDOWY", L"758", L"-1"},
        {L"KEYFEEDBACK", L"0", L"0"}, {L"KEYFEEDBACK", L"", L"1"}, {L"KEYFEEDBACK", L"off", L"1"}, {L"KEYFEEDBACK", L"2", L"1"},
        {L"REPEATDELAY", L"250", L"250"}, {L"REPEATDELAY", L"249", L"0"}, {L"REPEATDELAY", L"2001", L"0"},
        {L"REPEATDELAY", L"500ms", L"500"}, {L"REPEATDELAY", L"1e300", L"0"}, {L"REPEATRATE", L"0", L"10"},
        {L"REPEATRATE", L"31", L"10"}, {L"REPEATRATE", L"12.5", L"12"}, {L"DWELLTIME", L"299", L"0"},
        {L"DWELLTIME", L"5000", L"5000"}, {L"FOLLOWLAYOUT", L"1", L"1"}, {L"FOLLOWLAYOUT", L"2", L"0"},
        {L"PREDICTION", L"", L"0"}, {L"PREDICTION", L"1", L"1"}, {L"PREDICTION", L"2", L"0"}, {L"LEARNWORDS", L"", L"1"},
        {L"LEARNWORDS", L"0", L"0"}, {L"LEARNWORDS", L"x", L"1"},
        {L"SCANTIME", L"", L"0"}, {L"SCANTIME", L"300", L"300"}, {L"SCANTIME", L"5001", L"0"}, {L"SCANKEY", nullptr, L"SPACE"},
        {L"SCANKEY", L" f12", L"F12"}, {L"SCANKEY", L"Enter", L"ENTER"}, {L"SCANKEY", L"F1", L"SPACE"}, {L"SCANKEY", L"F13", L"SPACE"},
        {L"KEYBOARDSIZE", L"150", L"150"}, {L"KEYBOARDSIZE", L"99", L"100"}, {L"KEYBOARDSIZE", L"301", L"100"},
        {L"KEYBOARDSIZE", L"300.4", L"300"}, {L"KEYBOARDSIZE", L"big", L"100"}};
    // clang-format on
    for (const auto& [key, raw, expected] : readings) {
        FakeIni ini, saved;
        const wchar_t* section = key.starts_with(L"FONT")                           ? L"fonts"
                                 : key.starts_with(L"WINDOW") || key == L"SAFEMODE" ? L"misc"
                                 : key == L"KEYMAP"                                 ? L"keymapping"
                                                                                    : L"extras";
        ini.putFile(kPath, L"[" + std::wstring(section) + L"]\n" + (raw ? key + L"=" + raw : L""));
        const LoadedSettings l = loadSettings(ini, kPath, {1024, 768, 632, 217});
        saveSettings(saved, kPath, l.settings, {l.windowX.value_or(-1), l.windowY.value_or(-1)});
        EXPECT_EQ(saved.readIni(section, key, L"", kPath), expected)
            << key << L"=" << (raw ? raw : L"(none)");
        // Read ahead of the rest for the window's size, it must agree with the full load.
        EXPECT_EQ(storedKeyboardSize(ini, kPath), l.settings.extras.keyboardSize) << key;
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
