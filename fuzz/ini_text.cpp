#include "fuzz/ini_text.h"

#include <algorithm>
#include <cwctype>

#include "settings/profile_quoting.h"

namespace tapkeys::fuzz {
namespace {

constexpr std::size_t kMaxValue = 254;

std::wstring upper(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) c = static_cast<wchar_t>(std::towupper(c));
    return result;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
    return upper(a) == upper(b);
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

IniText::File* IniText::find(std::wstring_view path) {
    const auto found = files_.find(upper(path));
    return found == files_.end() ? nullptr : &found->second;
}

void IniText::putFile(const std::wstring& path, std::wstring_view text) {
    File& file = files_[upper(path)];
    file.clear();
    Section* section = nullptr;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(L'\n'), text.size());
        const std::wstring_view line = trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.front() == L'[') {
            const std::size_t close = line.rfind(L']');
            if (close == std::wstring_view::npos) continue;
            section = &file.emplace_back(Section{std::wstring(trimmed(line.substr(1, close - 1))), {}});
        } else if (section != nullptr && !line.empty()) {
            const std::size_t equals = line.find(L'=');
            const std::wstring_view key = trimmed(line.substr(0, equals));
            const std::wstring_view value =
                equals == std::wstring_view::npos ? std::wstring_view() : trimmed(line.substr(equals + 1));
            section->entries.push_back({std::wstring(key), std::wstring(value)});
        }
    }
}

std::wstring IniText::readIni(std::wstring_view section, std::wstring_view key,
                              std::wstring_view defaultValue, const std::wstring& path) {
    pathsRead_.push_back(path);
    std::wstring_view value = defaultValue;
    while (!value.empty() && value.back() == L' ') value.remove_suffix(1);
    if (File* file = find(path)) {
        const auto inSection =
            std::ranges::find_if(*file, [&](const Section& s) { return sameName(s.name, section); });
        if (inSection != file->end()) {
            const auto entry = std::ranges::find_if(inSection->entries,
                                                    [&](const Entry& e) { return sameName(e.key, key); });
            if (entry != inSection->entries.end()) {
                value = trimmed(entry->value);
                if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                    value.back() == value.front()) {
                    value = value.substr(1, value.size() - 2);
                }
            }
        }
    }
    return std::wstring(value.substr(0, kMaxValue));
}

void IniText::writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                       const std::wstring& path) {
    ++writes_;
    File& file = files_[upper(path)];
    auto inSection = std::ranges::find_if(file, [&](const Section& s) { return sameName(s.name, section); });
    if (inSection == file.end()) inSection = file.insert(file.end(), Section{std::wstring(section), {}});
    const auto entry =
        std::ranges::find_if(inSection->entries, [&](const Entry& e) { return sameName(e.key, key); });
    if (entry != inSection->entries.end()) {
        entry->value = quotedForProfile(value);
    } else {
        inSection->entries.push_back({std::wstring(key), quotedForProfile(value)});
    }
}

}  // namespace tapkeys::fuzz
