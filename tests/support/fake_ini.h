#pragma once
// INI files as text in memory, read by the rules of the Windows profile-string functions that the
// settings code relies on: lines lose the blanks around them; "[name]" opens a section; names match
// without regard to case and the first key of a name counts; a value in matching quotation marks loses
// them; at most 254 characters come back; a missing file, section or key gives the default without its
// trailing blanks; a write quotes as ProfileIni does. tests/settings/ini_contract.h holds it to the real
// functions; the unit tests and the fuzzers read through it.

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_access.h"
#include "settings/profile_quoting.h"

namespace tapkeys::testing {

class FakeIni final : public IniAccess {
public:
    std::vector<std::wstring> pathsRead;

    // Replaces the file at path with text as an editor would write it.
    void putFile(const std::wstring& path, std::wstring_view text) {
        std::erase_if(values_,
                      [&](const auto& value) { return value.first.starts_with(upper(path + L'\n')); });
        std::wstring section = L"\n";  // none yet
        while (!text.empty()) {
            const size_t end = std::min(text.find(L'\n'), text.size()),
                         equals = text.substr(0, end).find(L'=');
            const std::wstring_view line = trimmed(text.substr(0, end));
            if (line.starts_with(L'[') && line.find(L']') != line.npos)
                section = trimmed(line.substr(1, line.rfind(L']') - 1));
            else if (section != L"\n" && !line.empty())
                values_.emplace(name(path, section, trimmed(text.substr(0, std::min(equals, end)))),
                                equals == text.npos ? L"" : text.substr(equals + 1, end - equals - 1));
            text.remove_prefix(std::min(end + 1, text.size()));
        }
    }

    std::wstring readIni(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue,
                         const std::wstring& path) override {
        pathsRead.push_back(path);
        const auto found = values_.find(name(path, section, key));
        std::wstring_view value = found == values_.end() ? defaultValue : trimmed(found->second);
        if (found == values_.end())
            while (value.ends_with(L' ')) value.remove_suffix(1);
        else if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        return std::wstring(value.substr(0, 254));
    }
    void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                  const std::wstring& path) override {
        values_[name(path, section, key)] = quotedForProfile(value);
    }

private:
    static std::wstring upper(std::wstring text) {
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
        return text;
    }
    static std::wstring name(std::wstring_view path, std::wstring_view section, std::wstring_view key) {
        return upper(std::wstring(path) + L'\n' + std::wstring(section) + L'\n' + std::wstring(key));
    }
    static std::wstring_view trimmed(std::wstring_view text) {
        const size_t first = text.find_first_not_of(L" \t\r\n");
        return first == text.npos ? L"" : text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
    }

    std::map<std::wstring, std::wstring> values_;  // by path, section and key in capitals
};

}  // namespace tapkeys::testing
