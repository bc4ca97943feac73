#include "options/font_choice.h"

#include <gtest/gtest.h>

#include <tuple>

#include "options/extras_form.h"

namespace tapkeys {
namespace {

TEST(FontSize, StoredSizeIsTheNumberRoundedHalfToEvenInsideTheRangeElseEight) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"14pt", 14}, {L"8", 8},     {L"255pt", 255}, {L"12.5", 12},   {L"13.5pt", 14}, {L"10.6 pt", 11},
        {L"1 2", 12},  {L"1E2", 100}, {L"12,5pt", 12}, {L"13,5pt", 13}, {L"7", 8},       {L"7.99", 8},
        {L"256", 8},   {L"255.5", 8}, {L"", 8},        {L"pt", 8},      {L"-14", 8},     {L"1E400", 8}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(fontSizeFromText(text), expected) << text;
}

TEST(FontSize, TextIsNormalisedToAGeneralNumberInTheLocaleThenPt) {
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        {L"14", L".", L"14pt"},       {L"255", L".", L"255pt"}, {L"12.50", L".", L"12.5pt"},
        {L"014.000", L".", L"14pt"},  {L"1E2", L".", L"100pt"}, {L"8.125", L".", L"8.125pt"},
        {L"12.5pt", L",", L"12,5pt"}, {L"7", L".", L"8pt"},     {L"256", L".", L"8pt"},
        {L"", L".", L"8pt"},          {L"abc", L".", L"8pt"},   {L"-9", L".", L"8pt"}};
    for (const auto& [text, separator, expected] : cases) {
        EXPECT_EQ(normalizedFontSizeText(text, separator), expected) << text << separator;
    }
    EXPECT_EQ(fontSizeFromText(L"12,5pt"), 12);  // the store rule cuts the locale's fraction off
    EXPECT_EQ(fontSizeText(255), L"255pt");
    const auto entries = fontSizeListEntries();
    ASSERT_EQ(entries.size(), 18u);
    for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i], std::to_wstring(8 + 2 * i) + L"pt");
}

TEST(FontStyle, LowerCaseLettersAnywhereCheckTheirBoxesAndAreStoredInTheOrderBisu) {
    EXPECT_EQ(fontStyleChecks(L"xsxi"), (FontStyleChecks{.italic = true, .strikethrough = true}));
    EXPECT_EQ(fontStyleChecks(L"BU"), FontStyleChecks{});
    EXPECT_EQ(fontStyleLetters(fontStyleChecks(L"usib")), L"bisu");
    EXPECT_EQ(fontStyleLetters({.strikethrough = true, .underline = true}), L"su");
}

TEST(MoreSettings, BoxTextStandsForTheNearestAllowedValue) {
    const std::tuple<const wchar_t*, const ExtrasRange&, int> cases[] = {
        {L"0", kRepeatDelayRange, 0},       {L"1", kRepeatDelayRange, 250},
        {L"2500", kRepeatDelayRange, 2000}, {L" 600 ", kRepeatDelayRange, 600},
        {L"", kRepeatDelayRange, -7},       {L"5x", kRepeatDelayRange, -7},
        {L"0", kRepeatRateRange, 1},        {L"99999999999", kRepeatRateRange, -7},
        {L"299", kDwellTimeRange, 300}};
    for (const auto& [text, range, expected] : cases)
        EXPECT_EQ(extrasValueFromText(text, range, -7), expected) << text;
}

TEST(MoreSettings, ArrowsJumpBetweenOffAndTheMinimumAndStayInRange) {
    const std::tuple<const ExtrasRange&, int, int, int> cases[] = {
        {kRepeatDelayRange, 0, 50, 250},    {kRepeatDelayRange, 250, -50, 0},
        {kRepeatDelayRange, 300, -50, 250}, {kRepeatDelayRange, 2000, 50, 2000},
        {kDwellTimeRange, 0, -100, 0},      {kRepeatRateRange, 1, -1, 1},
        {kRepeatRateRange, 29, 1, 30}};
    for (const auto& [range, position, delta, expected] : cases)
        EXPECT_EQ(steppedValue(range, position, delta), expected) << position << " " << delta;
}

}  // namespace
}  // namespace tapkeys
