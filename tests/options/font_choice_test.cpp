#include "options/font_choice.h"

#include <gtest/gtest.h>

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

TEST(FontStyle, LowerCaseLettersAnywhereCheckTheirBoxesAndAreStoredInTheOrderBisu) {
    EXPECT_EQ(fontStyleChecks(L"xsxi"), (FontStyleChecks{.italic = true, .strikethrough = true}));
    EXPECT_EQ(fontStyleChecks(L"BU"), FontStyleChecks{});
    EXPECT_EQ(fontStyleLetters(fontStyleChecks(L"usib")), L"bisu");
}

}  // namespace
}  // namespace tapkeys
