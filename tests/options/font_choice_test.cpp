#include "options/font_choice.h"

#include <gtest/gtest.h>

#include <tuple>

#include "options/extras_form.h"

namespace tapkeys {
namespace {

// Stored: the number rounded half to even inside 8..255, else 8, whatever the locale's separator made of
// the text. Shown on leaving the box: that number in the locale's notation, then "pt".
TEST(FontSize, StoredAndShownByOneRuleInsideTheRangeElseEight) {
    // clang-format off
    const std::tuple<const wchar_t*, int, const wchar_t*, const wchar_t*> cases[] = {
        {L"14pt", 14, L".", L"14pt"}, {L"12.5", 12, L".", L"12.5pt"}, {L"13.5pt", 14, L".", L"13.5pt"},
        {L"10.6 pt", 11, L".", L"10.6pt"}, {L"1 2", 12, L".", L"12pt"}, {L"1E2", 100, L".", L"100pt"},
        {L"014.000", 14, L".", L"14pt"}, {L"8.125", 8, L".", L"8.125pt"}, {L"12,5pt", 12, L",", L"12pt"},
        {L"12.5pt", 12, L",", L"12,5pt"}, {L"7.99", 8, L".", L"8pt"}, {L"255.5", 8, L".", L"8pt"},
        {L"256", 8, L".", L"8pt"}, {L"", 8, L".", L"8pt"}, {L"-14", 8, L".", L"8pt"}, {L"1E400", 8, L".", L"8pt"}};
    // clang-format on
    for (const auto& [text, stored, separator, shown] : cases) {
        EXPECT_EQ(fontSizeFromText(text), stored) << text;
        EXPECT_EQ(normalizedFontSizeText(text, separator), shown) << text << separator;
    }
}

// A box's text stands for the nearest allowed value (-7 here where it holds no number); the arrows jump
// between off and the minimum and stay in range.
TEST(MoreSettings, BoxTextAndArrowsGiveOnlyAllowedValues) {
    const ExtrasRange &delay = kRepeatDelayRange, &rate = kRepeatRateRange, &dwell = kDwellTimeRange;
    // clang-format off
    const std::tuple<const wchar_t*, const ExtrasRange&, int> texts[] = {{L"0", delay, 0}, {L"1", delay, 250},
        {L"2500", delay, 2000}, {L" 600 ", delay, 600}, {L"", delay, -7}, {L"5x", delay, -7}, {L"0", rate, 1},
        {L"99999999999", rate, -7}, {L"299", dwell, 300}};
    const std::tuple<const ExtrasRange&, int, int, int> arrows[] = {{delay, 0, 50, 250}, {delay, 250, -50, 0},
        {delay, 300, -50, 250}, {delay, 2000, 50, 2000}, {dwell, 0, -100, 0}, {rate, 1, -1, 1}, {rate, 29, 1, 30}};
    // clang-format on
    for (const auto& [text, range, expected] : texts)
        EXPECT_EQ(extrasValueFromText(text, range, -7), expected) << text;
    for (const auto& [range, position, delta, expected] : arrows)
        EXPECT_EQ(steppedValue(range, position, delta), expected) << position << " " << delta;
}

}  // namespace
}  // namespace tapkeys
