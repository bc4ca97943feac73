#include "settings/number_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace tapkeys {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Blanks count nowhere; reading stops at the first character that cannot continue the number; the
// magnitude, not the written exponent, decides between overflow and underflow. The decimal point is a
// full stop whatever the locale, so the table runs under one with a decimal comma where one is installed.
TEST(ReadNumber, ReadsTheNumericPrefixOfTheText) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name)) break;
    const std::wstring zeros(400, L'0');
    // clang-format off
    const std::pair<std::wstring, double> numbers[] = {
        {L"14pt", 14}, {L"\t1\n2 ", 12}, {L"- 3", -3}, {L"+3", 3}, {L"1D2", 100}, {L"1E2", 100}, {L"1e-2", 0.01}, {L"1e+", 1},
        {L"1e3x", 1000}, {L".5", 0.5}, {L"-.5", -0.5}, {L"5.", 5}, {L"1.2.3", 1.2}, {L"1,5", 1}, {L"0x10", 0},
        {L"&H ff", 255}, {L"&hff", 255}, {L"&o178", 15}, {L"&HFF0000", 16711680}, {L"", 0}, {L"pt14", 0}, {L".", 0}, {L"--3", 0},
        {L"+-3", 0}, {L"e5", 0}, {L"&H", 0}, {L"&O8", 0}, {L"-&H10", 0}, {L"\uFF11", 0}, {L"\u0661", 0}, {L"inf", 0},
        {L"nan", 0}, {L"1e400", kInfinity}, {L"-1" + zeros, -kInfinity}, {L"&H" + std::wstring(300, L'F'), kInfinity},
        {L"1e99999999999999999999999999", kInfinity}, {L"1000e306", kInfinity}, {L"1e-400", 0}, {L"1e-99999999999999999999999999", 0}, {L"0.00000000001e310", 1e299},
        {L"123e306", 1.23e308}, {L"0." + zeros + L"1e500", 1e99}, {L"1" + zeros + L"e-500", 1e-100}};
    // clang-format on
    for (const auto& [text, expected] : numbers) EXPECT_EQ(readNumber(text), expected) << text.substr(0, 40);
    std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace tapkeys
