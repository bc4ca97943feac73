#include "options/font_choice.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

TEST(FontSizeStore, KeepsSizesInsideTheRangeRoundingHalvesToEven) {
    EXPECT_EQ(fontSizeFromText(L"14pt"), 14);
    EXPECT_EQ(fontSizeFromText(L"8"), 8);
    EXPECT_EQ(fontSizeFromText(L"255pt"), 255);
    EXPECT_EQ(fontSizeFromText(L"12.5"), 12);
    EXPECT_EQ(fontSizeFromText(L"13.5pt"), 14);
    EXPECT_EQ(fontSizeFromText(L"10.6 pt"), 11);
    EXPECT_EQ(fontSizeFromText(L"1 2"), 12);
    EXPECT_EQ(fontSizeFromText(L"1E2"), 100);
}

TEST(FontSizeStore, FallsBackToEightOutsideTheRangeOrWithoutANumber) {
    for (const wchar_t* text : {L"7", L"7.99", L"256", L"255.5", L"", L"pt", L"big", L"-14", L"1E400"}) {
        EXPECT_EQ(fontSizeFromText(text), 8) << text;
    }
}

TEST(FontSizeStore, ReadsOnlyTheFullStopAsDecimalPoint) {
    EXPECT_EQ(fontSizeFromText(L"12,5pt"), 12);
    EXPECT_EQ(fontSizeFromText(L"13,5pt"), 13);
}

TEST(FontSizeText, IsTheNumberFollowedByPt) {
    EXPECT_EQ(fontSizeText(14), L"14pt");
    EXPECT_EQ(fontSizeText(255), L"255pt");
}

TEST(FontSizeNormalisation, OutOfRangeOrNonNumericTextBecomesEightPoints) {
    for (const wchar_t* text : {L"7", L"256", L"300", L"", L"pt", L"abc", L"-9"}) {
        EXPECT_EQ(normalizedFontSizeText(text, L"."), L"8pt") << text;
    }
}

TEST(FontSizeNormalisation, WritesAGeneralNumberWithoutTrailingZeros) {
    EXPECT_EQ(normalizedFontSizeText(L"14", L"."), L"14pt");
    EXPECT_EQ(normalizedFontSizeText(L"255", L"."), L"255pt");
    EXPECT_EQ(normalizedFontSizeText(L"12.5pt", L"."), L"12.5pt");
    EXPECT_EQ(normalizedFontSizeText(L"12.50", L"."), L"12.5pt");
    EXPECT_EQ(normalizedFontSizeText(L"014.000", L"."), L"14pt");
    EXPECT_EQ(normalizedFontSizeText(L"1E2", L"."), L"100pt");
    EXPECT_EQ(normalizedFontSizeText(L"8.125", L"."), L"8.125pt");
}

TEST(FontSizeNormalisation, UsesTheLocaleSeparatorWhichTheStoreRuleThenCutsOff) {
    const std::wstring normalized = normalizedFontSizeText(L"12.5", L",");
    EXPECT_EQ(normalized, L"12,5pt");
    EXPECT_EQ(fontSizeFromText(normalized), 12);
    // A normalised text normalises to itself under the full stop.
    EXPECT_EQ(normalizedFontSizeText(normalizedFontSizeText(L"12.5", L"."), L"."), L"12.5pt");
}

TEST(FontSizeList, OffersEveryEvenSizeFromEightToFortyTwo) {
    const auto entries = fontSizeListEntries();
    ASSERT_EQ(entries.size(), 18u);
    EXPECT_EQ(entries.front(), L"8pt");
    EXPECT_EQ(entries[1], L"10pt");
    EXPECT_EQ(entries.back(), L"42pt");
}

TEST(FontStyle, LowerCaseLettersAnywhereCheckTheirBoxes) {
    EXPECT_EQ(fontStyleChecks(L"bu"), (FontStyleChecks{.bold = true, .underline = true}));
    EXPECT_EQ(fontStyleChecks(L"xsxi"), (FontStyleChecks{.italic = true, .strikethrough = true}));
    EXPECT_EQ(fontStyleChecks(L"BU"), FontStyleChecks{});
    EXPECT_EQ(fontStyleChecks(L""), FontStyleChecks{});
}

TEST(FontStyle, StoresTheCheckedLettersInTheOrderBisu) {
    EXPECT_EQ(fontStyleLetters(fontStyleChecks(L"bu")), L"bu");
    EXPECT_EQ(fontStyleLetters(fontStyleChecks(L"BU")), L"");
    EXPECT_EQ(fontStyleLetters(fontStyleChecks(L"usib")), L"bisu");
    EXPECT_EQ(fontStyleLetters({.bold = true, .italic = true, .strikethrough = true, .underline = true}),
              L"bisu");
    EXPECT_EQ(fontStyleLetters({.strikethrough = true, .underline = true}), L"su");
}

}  // namespace
}  // namespace tapkeys
