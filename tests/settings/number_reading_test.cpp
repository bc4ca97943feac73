#include "settings/number_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace tapkeys {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Reading {
    const wchar_t* text;
    double expected;
};

TEST(ReadNumber, ReadsTheNumericPrefixOfTheText) {
    const Reading readings[] = {
        {L"14pt", 14},
        {L"10.5 pt", 10.5},
        {L"1 2", 12},
        {L"\t1\n2 ", 12},
        {L"- 3", -3},
        {L"1E2", 100},
        {L"1e2", 100},
        {L"1D2", 100},
        {L"1e-2", 0.01},
        {L"1e+2", 100},
        {L"1e", 1},
        {L"1e+", 1},
        {L"1e3x", 1000},
        {L"-3", -3},
        {L"+3", 3},
        {L"1.0", 1},
        {L".5", 0.5},
        {L"5.", 5},
        {L"-.5", -0.5},
        {L"1.2.3", 1.2},
        {L"1,5", 1},
        {L"007", 7},
        {L"12.5", 12.5},
        {L"0x10", 0},
        {L"20pt", 20},
        {L"&HFF", 255},
        {L"&hff", 255},
        {L"&H ff", 255},
        {L"&O17", 15},
        {L"&o178", 15},
        {L"&HFF0000", 16711680},
    };
    for (const Reading& reading : readings) {
        EXPECT_EQ(readNumber(reading.text), reading.expected)
            << "text: " << testing::PrintToString(reading.text);
    }
}

TEST(ReadNumber, TextThatDoesNotBeginWithANumberIsZero) {
    for (const wchar_t* text :
         {L"",  L"   ", L"abc", L"pt14", L".",     L"-",      L"+",      L"--3", L"+-3", L"e5",
          L"&", L"&H",  L"&Z1", L"&O8",  L"-&H10", L"\uFF11", L"\u0661", L"inf", L"nan", L"yes"}) {
        EXPECT_EQ(readNumber(text), 0.0) << "text: " << testing::PrintToString(text);
    }
}

TEST(ReadNumber, HugeNumbersBecomeInfinityAndTinyOnesZero) {
    EXPECT_EQ(readNumber(L"1e400"), kInfinity);
    EXPECT_EQ(readNumber(L"-1e400"), -kInfinity);
    EXPECT_EQ(readNumber(L"1e99999999999999999999999999"), kInfinity);
    EXPECT_EQ(readNumber(L"1" + std::wstring(400, L'0')), kInfinity);
    EXPECT_EQ(readNumber(L"&H" + std::wstring(300, L'F')), kInfinity);
    EXPECT_EQ(readNumber(L"1000e306"), kInfinity);
    EXPECT_EQ(readNumber(L"1e-400"), 0.0);
    EXPECT_EQ(readNumber(L"1e-99999999999999999999999999"), 0.0);
    // The magnitude, not the written exponent, decides between overflow and underflow.
    EXPECT_EQ(readNumber(L"0.00000000001e310"), 1e299);
    EXPECT_EQ(readNumber(L"123e306"), 1.23e308);
    EXPECT_EQ(readNumber(L"0." + std::wstring(400, L'0') + L"1e500"), 1e99);
    EXPECT_EQ(readNumber(L"1" + std::wstring(400, L'0') + L"e-500"), 1e-100);
}

TEST(ReadNumber, DecimalPointIsAFullStopWhateverTheLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name)) {
            switched = true;
            break;
        }
    }
    const double withFullStop = readNumber(L"10.5");
    const double withComma = readNumber(L"10,5");
    std::setlocale(LC_ALL, previous.c_str());
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(withFullStop, 10.5);
    EXPECT_EQ(withComma, 10);
}

TEST(RoundToInteger, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{12.5, 12},  {13.5, 14}, {0.5, 0},  {1.5, 2},
                                            {-2.5, -2},  {-3.5, -4}, {2.49, 2}, {2.51, 3},
                                            {-2.51, -3}, {-0.4, 0},  {7, 7},    {-0.5, 0}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(roundToInt16(value), expected) << value;
        EXPECT_EQ(roundToInt32(value), expected) << value;
    }
}

TEST(RoundToInteger, ResultsOutsideTheTypeAreEmpty) {
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
    EXPECT_EQ(roundToInt16(-32768.6), std::nullopt);
    EXPECT_EQ(roundToInt16(65536), std::nullopt);

    EXPECT_EQ(roundToInt32(2147483646.5), 2147483646);
    EXPECT_EQ(roundToInt32(2147483647), 2147483647);
    EXPECT_EQ(roundToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(roundToInt32(-2147483648.5), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(roundToInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(roundToInt32(4294967296.0), std::nullopt);
    EXPECT_EQ(roundToInt32(1e300), std::nullopt);

    for (double special : {kInfinity, -kInfinity, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(roundToInt16(special), std::nullopt) << special;
        EXPECT_EQ(roundToInt32(special), std::nullopt) << special;
    }
}

}  // namespace
}  // namespace tapkeys
