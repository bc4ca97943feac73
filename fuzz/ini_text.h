#pragma once
// INI files as text in memory, read by the rules of the profile-string functions the settings code
// relies on: lines end at a line feed and lose the blanks around them; "[name]" opens a section (the
// name ends at the last "]"); a key line is "key=value", a line without "=" a key with an empty value;
// names match without regard to case, and only the first section of a name and the first key of a name
// in it count; a value in matching quotation marks loses them; at most 254 characters come back; a
// missing file, section or key gives the default without its trailing blanks. A write quotes as
// ProfileIni does.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_access.h"

namespace tapkeys::fuzz {

class IniText final : public IniAccess {
public:
    void putFile(const std::wstring& path, std::wstring_view text);

    std::wstring readIni(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue,
                         const std::wstring& path) override;
    void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                  const std::wstring& path) override;

    const std::vector<std::wstring>& pathsRead() const { return pathsRead_; }
    std::size_t writeCount() const { return writes_; }

private:
    struct Entry {
        std::wstring key, value;
    };
    struct Section {
        std::wstring name;
        std::vector<Entry> entries;
    };
    using File = std::vector<Section>;

    File* find(std::wstring_view path);

    std::map<std::wstring, File> files_;  // by upper-case path
    std::vector<std::wstring> pathsRead_;
    std::size_t writes_ = 0;
};

}  // namespace tapkeys::fuzz
