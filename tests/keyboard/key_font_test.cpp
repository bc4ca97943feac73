#include "keyboard/key_font.h"

#include <gtest/gtest.h>

namespace tapkeys {
namespace {

TEST(KeyFontTest, StyleLettersCountWhereverTheyStandAndOnlyInLowerCase) {
    EXPECT_EQ(keyFontFrom(L"Arial", L"", 14), (KeyFontSpec{L"Arial", 14, false, false, false, false}));
    EXPECT_EQ(keyFontFrom(L"Arial", L"ub", 14), (KeyFontSpec{L"Arial", 14, true, false, false, true}));
    EXPECT_EQ(keyFontFrom(L"Arial", L"BU", 14), (KeyFontSpec{L"Arial", 14, false, false, false, false}));
    EXPECT_EQ(keyFontFrom(L"Arial", L"bisu", 9), (KeyFontSpec{L"Arial", 9, true, true, true, true}));
    // The word written out holds both "u" and "i".
    EXPECT_EQ(keyFontFrom(L"", L"underline", 8), (KeyFontSpec{L"", 8, false, true, false, true}));
}

}  // namespace
}  // namespace tapkeys
