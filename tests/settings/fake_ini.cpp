#include "fake_ini.h"

#include <algorithm>
#include <cwctype>

namespace tapkeys::testing {

namespace {

constexpr size_t kMaxValueChars = 254;

bool sameName(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b,
                              [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::wstring_view withoutQuotes(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::wstring cut(std::wstring_view value) {
    return std::wstring(value.substr(0, kMaxValueChars));
}

}  // namespace

FakeIni::File* FakeIni::findFile(std::wstring_view path) {
    const auto it = std::ranges::find_if(files_, [&](const File& file) { return sameName(file.path, path); });
    return it == files_.end() ? nullptr : &*it;
}

FakeIni::File& FakeIni::fileAt(const std::wstring& path) {
    if (File* file = findFile(path)) return *file;
    return files_.emplace_back(File{path, {}});
}

FakeIni::Section& FakeIni::sectionIn(File& file, std::wstring_view name) {
    const auto it = std::ranges::find_if(
        file.sections, [&](const Section& section) { return sameName(section.name, name); });
    if (it != file.sections.end()) return *it;
    return file.sections.emplace_back(Section{std::wstring(name), {}});
}

void FakeIni::putFile(const std::wstring& path, std::wstring_view text) {
    File& file = fileAt(path);
    file.sections.clear();
    Section* section = nullptr;
    while (!text.empty()) {
        const size_t end = std::min(text.find(L'\n'), text.size());
        const std::wstring_view line = trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            section = &sectionIn(file, line.substr(1, line.size() - 2));
        } else if (const size_t equals = line.find(L'='); section && equals != std::wstring_view::npos) {
            const std::wstring_view key = trimmed(line.substr(0, equals));
            section->entries.push_back({std::wstring(key), std::wstring(line.substr(equals + 1))});
        }
    }
}

void FakeIni::putValue(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                       std::wstring_view rawValue) {
    Section& target = sectionIn(fileAt(path), section);
    const auto it =
        std::ranges::find_if(target.entries, [&](const Entry& entry) { return sameName(entry.key, key); });
    if (it != target.entries.end()) {
        it->rawValue = rawValue;
    } else {
        target.entries.push_back({std::wstring(key), std::wstring(rawValue)});
    }
}

std::wstring FakeIni::readIni(std::wstring_view section, std::wstring_view key,
                              std::wstring_view defaultValue, const std::wstring& path) {
    pathsRead_.push_back(path);
    // Windows drops trailing blanks of the default too.
    std::wstring_view result = defaultValue;
    while (!result.empty() && isBlank(result.back())) result.remove_suffix(1);
    if (File* file = findFile(path)) {
        for (const Section& candidate : file->sections) {
            if (!sameName(candidate.name, section)) continue;
            for (const Entry& entry : candidate.entries) {
                if (sameName(entry.key, key)) return cut(withoutQuotes(trimmed(entry.rawValue)));
            }
        }
    }
    return cut(result);
}

void FakeIni::writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                       const std::wstring& path) {
    writes_.push_back({std::wstring(section), std::wstring(key), std::wstring(value), path});
    putValue(path, section, key, value);
}

}  // namespace tapkeys::testing
