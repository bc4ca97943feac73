#pragma once
// An in-memory IniAccess that keeps the rules of the Windows profile-string functions the settings code
// relies on: section and key names match without regard to case, blanks around a value are dropped, a
// value enclosed in matching quotation marks loses them, at most 254 characters come back, and a
// missing file, section or key gives the default. ini_contract.h holds it to the real functions.

#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_access.h"

namespace tapkeys::testing {

class FakeIni final : public IniAccess {
public:
    struct Write {
        std::wstring section, key, value, path;
        bool operator==(const Write&) const = default;
    };

    // Replaces the file at path with this text, as if written by an editor: "[section]" lines and
    // "key=value" lines, values kept exactly as written.
    void putFile(const std::wstring& path, std::wstring_view text);
    // Sets one raw line "key=rawValue" (creating file and section as needed).
    void putValue(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                  std::wstring_view rawValue);

    const std::vector<Write>& writes() const { return writes_; }
    const std::vector<std::wstring>& pathsRead() const { return pathsRead_; }

    std::wstring readIni(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue,
                         const std::wstring& path) override;
    void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                  const std::wstring& path) override;

private:
    struct Entry {
        std::wstring key, rawValue;
    };
    struct Section {
        std::wstring name;
        std::vector<Entry> entries;
    };
    struct File {
        std::wstring path;
        std::vector<Section> sections;
    };

    File* findFile(std::wstring_view path);
    File& fileAt(const std::wstring& path);
    static Section& sectionIn(File& file, std::wstring_view name);

    std::vector<File> files_;
    std::vector<Write> writes_;
    std::vector<std::wstring> pathsRead_;
};

}  // namespace tapkeys::testing
