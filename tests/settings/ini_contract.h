#pragma once
// The INI rules the settings code relies on, as one typed suite: instantiated over FakeIni natively and
// over ProfileIni (the real profile-string functions) under Wine, so the fake cannot drift from the
// platform it stands in for. A Store offers ini(), pathOf(fileName) in a folder that exists, and
// putFile(path, bytes) that writes an INI file as an editor would.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fake_ini.h"

namespace tapkeys::testing {

struct FakeStore {
    FakeIni fake;
    IniAccess& ini() { return fake; }
    std::wstring pathOf(std::wstring_view fileName) { return L"C:\\store\\" + std::wstring(fileName); }
    void putFile(const std::wstring& path, std::string_view bytes) {  // as Windows-1252 reads them
        const auto* first = reinterpret_cast<const unsigned char*>(bytes.data());
        fake.putFile(path, std::wstring(first, first + bytes.size()));
    }
};

template <typename Store>
class IniContract : public ::testing::Test {
protected:
    std::wstring read(std::wstring_view section, std::wstring_view key, const std::wstring& path) {
        return store.ini().readIni(section, key, L"default value  ", path);
    }
    // A fresh file each time: the platform caches profile files and may not notice a rewrite made within
    // the same file-time tick.
    std::wstring file(const std::string& bytes) {
        const std::wstring path = store.pathOf(L"file" + std::to_wstring(++files) + L".ini");
        store.putFile(path, bytes);
        return path;
    }
    Store store;
    int files = 0;
};

TYPED_TEST_SUITE_P(IniContract);

// Bytes beyond ASCII are characters of the ANSI code page (Windows-1252 under test), UTF-8 or not.
TYPED_TEST_P(IniContract, ReadsDefaultsNamesWithoutCaseAndValuesWithoutBlanksOrQuotes) {
    const std::wstring fonts = this->file("[Fonts]\r\nFontFace=Courier\r\n");
    EXPECT_EQ(this->read(L"fonts", L"FONTFACE", this->store.pathOf(L"absent.ini")), L"default value");
    EXPECT_EQ(this->read(L"misc", L"FONTFACE", fonts), L"default value");
    EXPECT_EQ(this->read(L"fonts", L"FONTSIZE", fonts), L"default value");
    EXPECT_EQ(this->read(L"FONTS", L"fontface", fonts), L"Courier");
    // clang-format off
    const std::pair<std::string, std::wstring> lines[] = {{"K=   ", L""}, {"K=  a b  ", L"a b"}, {"K=\tx\t", L"x"},
        {"K=\" a \"", L" a "}, {"K='b'", L"b"}, {"K=\"c", L"\"c"}, {"K=a=b;c", L"a=b;c"}, {"K=1\r\nK=2\r\n[s]\r\nK=3", L"1"},
        {"K=\xC3\xA4x", L"\u00C3\u00A4x"},
        {"K=" + std::string(200, 'a') + std::string(100, 'b'), std::wstring(200, L'a') + std::wstring(54, L'b')}};
    // clang-format on
    for (const auto& [line, expected] : lines)
        EXPECT_EQ(this->read(L"s", L"K", this->file("[s]\r\n" + line + "\r\n")), expected) << line;
}

// Ends the reader would strip, and characters no ANSI code page holds (the file turns to UTF-16 at the
// first of them and keeps what it held), read back exactly; so does a new file that starts with one.
TYPED_TEST_P(IniContract, WriteCreatesTheFileReplacesAnEarlierValueAndEveryValueReadsBackExactly) {
    const std::wstring path = this->store.pathOf(L"written.ini"), fresh = this->store.pathOf(L"fresh.ini");
    IniAccess& ini = this->store.ini();
    ini.writeIni(L"misc", L"WINDOWX", L"12", path);
    ini.writeIni(L"MISC", L"windowx", L"56", path);
    // clang-format off
    const std::wstring values[] = {L" 34 ", L" ab{}", L"\"q\"", L"'b'", L"\"c", L"d\"", L"\"", L"'", L"\t\u00A0x\u3000",
                                   L"a b", L"", L"\u0151\u2713ab", L" \u0151 ", L"\"\u2713\" "};
    // clang-format on
    for (size_t i = 0; i < std::size(values); ++i)
        ini.writeIni(L"k", L"K" + std::to_wstring(i), values[i], path);
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(this->read(L"k", L"K" + std::to_wstring(i), path), values[i]) << i;
    EXPECT_EQ(this->read(L"misc", L"WINDOWX", path), L"56");
    ini.writeIni(L"s", L"K", L"\u2713 ", fresh);
    EXPECT_EQ(this->read(L"s", L"K", fresh), L"\u2713 ");
}

REGISTER_TYPED_TEST_SUITE_P(IniContract, ReadsDefaultsNamesWithoutCaseAndValuesWithoutBlanksOrQuotes,
                            WriteCreatesTheFileReplacesAnEarlierValueAndEveryValueReadsBackExactly);

}  // namespace tapkeys::testing
