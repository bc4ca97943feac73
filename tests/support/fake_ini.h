#pragma once
// INI files as text in memory, read by the rules of the Windows profile-string functions that the
// settings code relies on: lines lose the blanks around them; "[name]" opens a section; names match
// without regard to case and the first section and key of a name count; a value in matching quotation
// marks loses them; at most 254 characters come back; a missing file, section or key gives the default
// without its trailing blanks. tests/settings/ini_contract.h holds it to the real functions; the unit
// tests and the fuzzers read through it.

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_access.h"

namespace tapkeys::testing {

class FakeIni final : public IniAccess {
public:
    std::vector<std::wstring> pathsRead;

    // Replaces the file at path with text as an editor would write it.
    void putFile(const std::wstring& path, std::wstring_view text) {
        File& file = files_[upper(path)];
        file.clear();
        while (!text.empty()) {
            const size_t end = std::min(text.find(L'\n'), text.size());
            const std::wstring_view line = trimmed(text.substr(0, end));
            text.remove_prefix(std::min(end + 1, text.size()));
            if (line.starts_with(L'[') && line.rfind(L']') != line.npos) {
                file.push_back({upper(trimmed(line.substr(1, line.rfind(L']') - 1))), {}});
            } else if (!file.empty() && !line.empty()) {
                const size_t equals = line.find(L'=');
                file.back().entries.emplace_back(upper(trimmed(line.substr(0, equals))),
                                                 equals == line.npos ? L"" : line.substr(equals + 1));
            }
        }
    }

    std::wstring readIni(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue,
                         const std::wstring& path) override {
        pathsRead.push_back(path);
        const std::wstring* found = find(path, section, key, false);
        std::wstring_view value = found ? trimmed(*found) : defaultValue;
        if (!found) {
            while (value.ends_with(L' ')) value.remove_suffix(1);
        } else if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
            value = value.substr(1, value.size() - 2);
        }
        return std::wstring(value.substr(0, 254));
    }
    void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                  const std::wstring& path) override {
        *find(path, section, key, true) = value;
    }

private:
    struct Section {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> entries;
    };
    using File = std::vector<Section>;

    std::wstring* find(std::wstring_view path, std::wstring_view section, std::wstring_view key,
                       bool create) {
        const auto file = files_.find(upper(path));
        if (file == files_.end() && !create) return nullptr;
        File& sections = create ? files_[upper(path)] : file->second;
        auto s = std::ranges::find(sections, upper(section), &Section::name);
        if (s == sections.end() && !create) return nullptr;
        if (s == sections.end()) s = sections.insert(s, {upper(section), {}});
        auto e = std::ranges::find(s->entries, upper(key), &std::pair<std::wstring, std::wstring>::first);
        if (e == s->entries.end() && !create) return nullptr;
        if (e == s->entries.end()) e = s->entries.insert(e, {upper(key), L""});
        return &e->second;
    }
    static std::wstring upper(std::wstring_view text) {
        std::wstring all(text);
        for (wchar_t& c : all) c = static_cast<wchar_t>(std::towupper(c));
        return all;
    }
    static std::wstring_view trimmed(std::wstring_view text) {
        const size_t first = text.find_first_not_of(L" \t\r\n");
        return first == text.npos ? L"" : text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
    }

    std::map<std::wstring, File> files_;  // by upper-case path
};

}  // namespace tapkeys::testing
