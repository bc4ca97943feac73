#pragma once
// readIni / writeIni over the Unicode profile-string functions of kernel32. Windows itself supplies the
// INI rules the rest of the program relies on: names match without regard to case, blanks around a
// value are dropped, surrounding quotation marks are removed, values come back cut to 254 characters.
// Files are read in the encoding they have (ANSI, or UTF-16 after a byte-order mark); a write keeps a
// file ANSI until a value needs a character the ANSI code page lacks, and quotes a value whose ends the
// reader would strip, so what is written reads back as it was.

#include "settings/ini_access.h"

namespace tapkeys {

class ProfileIni final : public IniAccess {
public:
    std::wstring readIni(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue,
                         const std::wstring& path) override;
    void writeIni(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                  const std::wstring& path) override;
};

}  // namespace tapkeys
