#pragma once
// The INI rules the settings code relies on, as one typed suite: instantiated over FakeIni natively and
// over ProfileIni (the real profile-string functions) under Wine, so the fake cannot drift from the
// platform it stands in for.
//
// A Store offers ini(), pathOf(fileName) for a file in a folder that exists, and putFile(path, text)
// that writes an INI file as an editor would.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "fake_ini.h"

namespace tapkeys::testing {

struct FakeStore {
    FakeIni fake;
    IniAccess& ini() { return fake; }
    std::wstring pathOf(std::wstring_view fileName) { return L"C:\\store\\" + std::wstring(fileName); }
    void putFile(const std::wstring& path, std::string_view text) {
        fake.putFile(path, std::wstring(text.begin(), text.end()));
    }
};

template <typename Store>
class IniContract : public ::testing::Test {
protected:
    std::wstring read(std::wstring_view section, std::wstring_view key, const std::wstring& path) {
        return store.ini().readIni(section, key, L"default value", path);
    }
    // A fresh file each time: the platform caches profile files and may not notice a rewrite made
    // within the same file-time tick.
    std::wstring readValueOf(std::string_view line) {
        const std::wstring path = store.pathOf(L"value" + std::to_wstring(++files_) + L".ini");
        store.putFile(path, "[s]\r\n" + std::string(line) + "\r\n");
        return read(L"s", L"K", path);
    }

    Store store;

private:
    int files_ = 0;
};

TYPED_TEST_SUITE_P(IniContract);

TYPED_TEST_P(IniContract, MissingFileSectionOrKeyGivesTheDefault) {
    const std::wstring path = this->store.pathOf(L"present.ini");
    this->store.putFile(path, "[misc]\r\nSAFEMODE=1\r\n");
    EXPECT_EQ(this->read(L"misc", L"SAFEMODE", this->store.pathOf(L"absent.ini")), L"default value");
    EXPECT_EQ(this->read(L"fonts", L"SAFEMODE", path), L"default value");
    EXPECT_EQ(this->read(L"misc", L"WINDOWX", path), L"default value");
    EXPECT_EQ(this->read(L"misc", L"SAFEMODE", path), L"1");
}

TYPED_TEST_P(IniContract, PresentButEmptyValueIsEmptyNotTheDefault) {
    EXPECT_EQ(this->readValueOf("K="), L"");
    EXPECT_EQ(this->readValueOf("K=   "), L"");
}

TYPED_TEST_P(IniContract, NamesMatchWithoutRegardToCase) {
    const std::wstring path = this->store.pathOf(L"case.ini");
    this->store.putFile(path, "[Fonts]\r\nFontFace=Courier\r\n");
    EXPECT_EQ(this->read(L"FONTS", L"FONTFACE", path), L"Courier");
    EXPECT_EQ(this->read(L"fonts", L"fontface", path), L"Courier");
}

TYPED_TEST_P(IniContract, BlanksAroundAValueAreDropped) {
    EXPECT_EQ(this->readValueOf("K=  a b  "), L"a b");
    EXPECT_EQ(this->readValueOf("K=\tx\t"), L"x");
}

TYPED_TEST_P(IniContract, MatchingQuotationMarksAreRemoved) {
    EXPECT_EQ(this->readValueOf("K=\" a \""), L" a ");
    EXPECT_EQ(this->readValueOf("K='b'"), L"b");
    EXPECT_EQ(this->readValueOf("K=\"c"), L"\"c");
    EXPECT_EQ(this->readValueOf("K=d\""), L"d\"");
}

TYPED_TEST_P(IniContract, EqualsSignsAndSemicolonsInsideAValueAreKept) {
    EXPECT_EQ(this->readValueOf("K=a=b;c"), L"a=b;c");
}

TYPED_TEST_P(IniContract, LongValueComesBackCutTo254Characters) {
    const std::string value = std::string(200, 'a') + std::string(100, 'b');
    EXPECT_EQ(this->readValueOf("K=" + value), std::wstring(200, L'a') + std::wstring(54, L'b'));
    EXPECT_EQ(this->readValueOf("K=" + std::string(254, 'c')), std::wstring(254, L'c'));
}

TYPED_TEST_P(IniContract, WriteCreatesTheFileAndReplacesAnEarlierValue) {
    const std::wstring path = this->store.pathOf(L"written.ini");
    IniAccess& ini = this->store.ini();
    ini.writeIni(L"misc", L"WINDOWX", L"12", path);
    ini.writeIni(L"misc", L"WINDOWY", L"34", path);
    ini.writeIni(L"MISC", L"windowx", L"56", path);
    EXPECT_EQ(this->read(L"misc", L"WINDOWX", path), L"56");
    EXPECT_EQ(this->read(L"misc", L"WINDOWY", path), L"34");
}

TYPED_TEST_P(IniContract, BlanksAroundAWrittenValueAreLost) {
    const std::wstring path = this->store.pathOf(L"blanks.ini");
    this->store.ini().writeIni(L"keymapping", L"USERKEYMAPNORMAL", L" abc ", path);
    EXPECT_EQ(this->read(L"keymapping", L"USERKEYMAPNORMAL", path), L"abc");
}

REGISTER_TYPED_TEST_SUITE_P(IniContract, MissingFileSectionOrKeyGivesTheDefault,
                            PresentButEmptyValueIsEmptyNotTheDefault, NamesMatchWithoutRegardToCase,
                            BlanksAroundAValueAreDropped, MatchingQuotationMarksAreRemoved,
                            EqualsSignsAndSemicolonsInsideAValueAreKept, LongValueComesBackCutTo254Characters,
                            WriteCreatesTheFileAndReplacesAnEarlierValue, BlanksAroundAWrittenValueAreLost);

}  // namespace tapkeys::testing
