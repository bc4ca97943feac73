#pragma once
// The INI rules the settings code relies on, as one typed suite: instantiated over FakeIni natively and
// over ProfileIni (the real profile-string functions) under Wine, so the fake cannot drift from the
// platform it stands in for. A Store offers ini(), pathOf(fileName) in a folder that exists, and
// putFile(path, text) that writes an INI file as an editor would.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fake_ini.h"

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
        return store.ini().readIni(section, key, L"default value  ", path);
    }
    Store store;
};

TYPED_TEST_SUITE_P(IniContract);

TYPED_TEST_P(IniContract, MissingFileSectionOrKeyGivesTheDefaultAndNamesIgnoreCase) {
    const std::wstring path = this->store.pathOf(L"present.ini");
    this->store.putFile(path, "[Fonts]\r\nFontFace=Courier\r\n");
    EXPECT_EQ(this->read(L"fonts", L"FONTFACE", this->store.pathOf(L"absent.ini")), L"default value");
    EXPECT_EQ(this->read(L"misc", L"FONTFACE", path), L"default value");
    EXPECT_EQ(this->read(L"fonts", L"FONTSIZE", path), L"default value");
    EXPECT_EQ(this->read(L"FONTS", L"fontface", path), L"Courier");
}

TYPED_TEST_P(IniContract, ValuesLoseBlanksAndMatchingQuotesAndAreCutTo254Characters) {
    const std::pair<std::string, std::wstring> lines[] = {
        {"K=   ", L""},
        {"K=  a b  ", L"a b"},
        {"K=\tx\t", L"x"},
        {"K=\" a \"", L" a "},
        {"K='b'", L"b"},
        {"K=\"c", L"\"c"},
        {"K=a=b;c", L"a=b;c"},
        {"K=1\r\nK=2\r\n[s]\r\nK=3", L"1"},
        {"K=" + std::string(200, 'a') + std::string(100, 'b'),
         std::wstring(200, L'a') + std::wstring(54, L'b')},
    };
    int files = 0;
    for (const auto& [line, expected] : lines) {
        // A fresh file each time: the platform caches profile files and may not notice a rewrite made
        // within the same file-time tick.
        const std::wstring path = this->store.pathOf(L"value" + std::to_wstring(++files) + L".ini");
        this->store.putFile(path, "[s]\r\n" + line + "\r\n");
        EXPECT_EQ(this->read(L"s", L"K", path), expected) << line;
    }
}

TYPED_TEST_P(IniContract, WriteCreatesTheFileAndReplacesAnEarlierValue) {
    const std::wstring path = this->store.pathOf(L"written.ini");
    this->store.ini().writeIni(L"misc", L"WINDOWX", L"12", path);
    this->store.ini().writeIni(L"misc", L"WINDOWY", L" 34 ", path);
    this->store.ini().writeIni(L"MISC", L"windowx", L"56", path);
    EXPECT_EQ(this->read(L"misc", L"WINDOWX", path), L"56");
    EXPECT_EQ(this->read(L"misc", L"WINDOWY", path), L"34");
}

REGISTER_TYPED_TEST_SUITE_P(IniContract, MissingFileSectionOrKeyGivesTheDefaultAndNamesIgnoreCase,
                            ValuesLoseBlanksAndMatchingQuotesAndAreCutTo254Characters,
                            WriteCreatesTheFileAndReplacesAnEarlierValue);

}  // namespace tapkeys::testing
