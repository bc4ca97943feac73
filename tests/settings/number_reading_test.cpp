#include "settings/number_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace tapkeys {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(ReadNumber, ReadsTheNumericPrefixOfTheTextAndZeroWithoutOne) {
    const std::pair<std::wstring, double> numbers[] = {
        {L"14pt", 14}, {L"10.5 pt", 10.5}, {L"1 2", 12},           {L"\t1\n2 ", 12}, {L"- 3", -3},
        {L"1E2", 100}, {L"1e2", 100},      {L"1D2", 100},          {L"1e-2", 0.01},  {L"1e+2", 100},
        {L"1e", 1},    {L"1e+", 1},        {L"1e3x", 1000},        {L"-3", -3},      {L"+3", 3},
        {L".5", 0.5},  {L"5.", 5},         {L"-.5", -0.5},         {L"1.2.3", 1.2},  {L"1,5", 1},
        {L"007", 7},   {L"0x10", 0},       {L"&HFF", 255},         {L"&hff", 255},   {L"&H ff", 255},
        {L"&O17", 15}, {L"&o178", 15},     {L"&HFF0000", 16711680}};
    for (const auto& [text, expected] : numbers) EXPECT_EQ(readNumber(text), expected) << text;
    for (const wchar_t* text : {L"", L"   ", L"pt14", L".", L"-", L"--3", L"+-3", L"e5", L"&", L"&H", L"&Z1",
                                L"&O8", L"-&H10", L"\uFF11", L"\u0661", L"inf", L"nan"}) {
        EXPECT_EQ(readNumber(text), 0.0) << text;
    }
}

// The magnitude, not the written exponent, decides between overflow and underflow.
TEST(ReadNumber, HugeNumbersBecomeInfinityAndTinyOnesZero) {
    const std::wstring zeros(400, L'0');
    const std::pair<std::wstring, double> numbers[] = {{L"1e400", kInfinity},
                                                       {L"-1e400", -kInfinity},
                                                       {L"1e99999999999999999999999999", kInfinity},
                                                       {L"1" + zeros, kInfinity},
                                                       {L"&H" + std::wstring(300, L'F'), kInfinity},
                                                       {L"1000e306", kInfinity},
                                                       {L"1e-400", 0},
                                                       {L"1e-99999999999999999999999999", 0},
                                                       {L"0.00000000001e310", 1e299},
                                                       {L"123e306", 1.23e308},
                                                       {L"0." + zeros + L"1e500", 1e99},
                                                       {L"1" + zeros + L"e-500", 1e-100}};
    for (const auto& [text, expected] : numbers) EXPECT_EQ(readNumber(text), expected) << text.substr(0, 40);
}

TEST(ReadNumber, DecimalPointIsAFullStopWhateverTheLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "fr_FR.UTF-8"}) {
        if ((switched = std::setlocale(LC_ALL, name) != nullptr)) break;
    }
    const double withFullStop = readNumber(L"10.5"), withComma = readNumber(L"10,5");
    std::setlocale(LC_ALL, previous.c_str());
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(withFullStop, 10.5);
    EXPECT_EQ(withComma, 10);
}

TEST(RoundToInteger, HalvesGoToTheEvenNeighbourAndResultsOutsideTheTypeAreEmpty) {
    using Rounding = std::pair<double, std::optional<int>>;
    for (const auto& [value, expected] : {Rounding{12.5, 12},
                                          {13.5, 14},
                                          {0.5, 0},
                                          {1.5, 2},
                                          {-2.5, -2},
                                          {-3.5, -4},
                                          {2.49, 2},
                                          {2.51, 3},
                                          {-2.51, -3},
                                          {-0.4, 0},
                                          {7.0, 7},
                                          {-0.5, 0},
                                          {32767.4, 32767},
                                          {-32768.5, -32768}}) {
        EXPECT_EQ(roundToInt16(value), expected) << value;
        EXPECT_EQ(roundToInt32(value), expected) << value;
    }
    for (const auto& [value, expected] : {Rounding{32767.5, 32768},
                                          {-32768.6, -32769},
                                          {2147483646.5, 2147483646},
                                          {-2147483648.5, INT32_MIN}}) {
        EXPECT_EQ(roundToInt16(value), std::nullopt) << value;
        EXPECT_EQ(roundToInt32(value), expected) << value;
    }
    for (double outside : {2147483647.5, -2147483649.0, 4294967296.0, 1e300, kInfinity, -kInfinity,
                           std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(roundToInt16(outside), std::nullopt) << outside;
        EXPECT_EQ(roundToInt32(outside), std::nullopt) << outside;
    }
}

}  // namespace
}  // namespace tapkeys
