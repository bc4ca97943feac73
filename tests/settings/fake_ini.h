#pragma once
// An in-memory IniAccess that keeps the rules of the Windows profile-string functions the settings code
// relies on: section and key names match without regard to case, blanks around a value are dropped, a
// value enclosed in matching quotation marks loses them, at most 254 characters come back, and a
// missing file, section or key gives the default; a write quotes as ProfileIni does. ini_contract.h
// holds it to the real functions.

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

    // Replaces the file at path with this text, as an editor would write it: "[section]" lines and
    // "key=value" lines, values kept exactly as written.
    void putFile(const std::wstring& path, std::wstring_view text) {
        const std::wstring file = name(path).substr(0, path.size() + 1);
        std::erase_if(values_, [&](const auto& value) { return value.first.starts_with(file); });
        std::wstring_view section = L"\n";  // no section yet
        while (!text.empty()) {
            const size_t end = std::min(text.find(L'\n'), text.size());
            const std::wstring_view line = trimmed(text.substr(0, end));
            text.remove_prefix(std::min(end + 1, text.size()));
            if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
                section = line.substr(1, line.size() - 2);
            } else if (const size_t equals = line.find(L'='); section != L"\n" && equals != line.npos) {
                values_.emplace(name(path, section, trimmed(line.substr(0, equals))),
                                line.substr(equals + 1));
            }
        }
    }
    // Sets one raw line "key=rawValue".
    void putValue(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                  std::wstring_view rawValue) {
        values_[name(path, section, key)] = rawValue;
    }

    std::wstring readIni(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue,
                         const std::wstring& path) override {
        pathsRead.push_back(path);
        const auto found = values_.find(name(path, section, key));
        std::wstring_view value = found == values_.end() ? defaultValue : trimmed(found->second);
        if (found == values_.end()) {
            while (!value.empty() && value.back() == L' ') value.remove_suffix(1);  // as Windows does
        } else if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                   value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::wstring(value.substr(0, 254));
    }
    void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                  const std::wstring& path) override {
        putValue(path, section, key, quotedForProfile(value));
    }

private:
    static std::wstring name(std::wstring_view path, std::wstring_view section = {},
                             std::wstring_view key = {}) {
        std::wstring all = std::wstring(path) + L'\n' + std::wstring(section) + L'\n' + std::wstring(key);
        std::ranges::transform(all, all.begin(), [](wchar_t c) { return std::towupper(c); });
        return all;
    }
    static std::wstring_view trimmed(std::wstring_view text) {
        const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
        while (!text.empty() && blank(text.front())) text.remove_prefix(1);
        while (!text.empty() && blank(text.back())) text.remove_suffix(1);
        return text;
    }

    std::map<std::wstring, std::wstring> values_;  // by path, section and key in capitals
};

}  // namespace tapkeys::testing
