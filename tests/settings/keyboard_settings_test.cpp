#include "settings/keyboard_settings.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
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
    // The extras: a value out of range or without a digit takes the default, never a neighbour.
    const Reading keyFeedback[] = {{L"0", 0}, {L"1", 1}, {L"", 1}, {L"off", 1}, {L"2", 1}, {L"0.2", 0}};
    const Reading repeatDelay[] = {{L"0", 0}, {L"250", 250}, {L"2000", 2000}, {L"249", 0}, {L"2001", 0},
                                   {L"-500", 0}, {L"500ms", 500}, {L"x", 0}, {L"1e300", 0}};
    const Reading repeatRate[] = {{L"1", 1}, {L"30", 30}, {L"0", 10}, {L"31", 10}, {L"", 10}, {L"12.5", 12}};
    const Reading dwellTime[] = {{L"0", 0}, {L"300", 300}, {L"5000", 5000}, {L"299", 0}, {L"5001", 0}};
    const Reading followLayout[] = {{L"1", 1}, {L"0", 0}, {L"", 0}, {L"-1", 0}};
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
    expectReadings(
        L"extras", L"KEYFEEDBACK", keyFeedback,
        [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.extras.keyFeedback; });
    expectReadings(
        L"extras", L"REPEATDELAY", repeatDelay,
        [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.extras.repeatDelay; });
    expectReadings(
        L"extras", L"REPEATRATE", repeatRate,
        [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.extras.repeatRate; });
    expectReadings(
        L"extras", L"DWELLTIME", dwellTime,
        [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.extras.dwellTime; });
    expectReadings(
        L"extras", L"FOLLOWLAYOUT", followLayout,
        [](const LoadedSettings& l) -> std::optional<long long> { return l.settings.extras.followLayout; });
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

}  // namespace
}  // namespace tapkeys::testing
